#include "ui/LayoutDescriptionParser.h"

#include "model/Conversions.h"
#include "ui/ApplicationView.h"
#include "ui/Guard.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

CLayoutDescriptionParser::CLayoutDescriptionParser(IUIController& controller,
                                                   INavigationArea& navigation, QWidget* viewParent,
                                                   ITextResource* textProvider,
                                                   GenericViewHook genericViewHook)
    : m_controller(controller), m_navigation(navigation), m_viewParent(viewParent),
      m_textProvider(textProvider), m_genericViewHook(std::move(genericViewHook)) {}

bool CLayoutDescriptionParser::Parse(const std::string& document) {
    xml::Document layout;
    if (!Guarded("CLayoutDescriptionParser: layout description",
                 [&] { layout = xml::Document::Parse(document); })) {
        return false;
    }
    std::optional<int> selectedViewId;
    if (const CNavigationEntry* selected =
            m_navigation.FindEntryByItem(m_navigation.GetSelectedItem())) {
        selectedViewId = selected->viewId;
    }
    const std::optional<int> rootViewId = ParseNavigation(layout);
    for (const xml::Node& element : layout.SelectAll("//GenericView")) {
        Guarded("CLayoutDescriptionParser: GenericView", [&] { CreateGenericView(element); });
    }
    if (rootViewId) {
        SelectAfterReload(selectedViewId, *rootViewId);
    }
    return true;
}

CUIController::LayoutParser
CLayoutDescriptionParser::MakeLayoutParser(GenericViewHook genericViewHook) {
    return [hook = std::move(genericViewHook)](const std::string& layout, IUIController& controller,
                                               INavigationArea& navigation, QWidget* viewParent,
                                               ITextResource* textProvider) {
        CLayoutDescriptionParser(controller, navigation, viewParent, textProvider, hook)
            .Parse(layout);
    };
}

int CLayoutDescriptionParser::ReadNumber(const std::string& text) {
    constexpr std::string_view blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return 0;
    }
    const std::size_t last = text.find_last_not_of(blanks) + 1;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + first, text.data() + last, value);
    return error == std::errc() && end == text.data() + last ? value : 0;
}

CGenericViewDescription CLayoutDescriptionParser::ReadGenericView(const xml::Node& element) {
    CGenericViewDescription description;
    description.viewId = ReadNumber(element.Attribute("@viewId", "0"));
    description.autoSizeLables = CConversions::xml_to_bool(element.Attribute("@autoSizeLables"));
    description.layoutManager = element.Attribute("@layoutManager", description.layoutManager);
    description.helpContextId = ReadNumber(element.Attribute("@helpContextId", "0"));
    description.element = element;
    return description;
}

std::optional<int> CLayoutDescriptionParser::ParseNavigation(const xml::Document& document) {
    std::optional<int> rootViewId;
    const std::vector<xml::Node> entries = document.SelectAll("//NavigationArea/Entry");
    if (!entries.empty()) {
        m_navigation.Clear();
        for (const xml::Node& element : entries) {
            const CNavigationEntry* entry = InsertEntry(element, nullptr);
            if (entry != nullptr && !rootViewId) {
                rootViewId = entry->viewId;
            }
        }
    }
    if (document.Attribute("//NavigationArea/@hide") == "1") {
        m_controller.HideNavigationTree(true);
    }
    return rootViewId;
}

CNavigationEntry* CLayoutDescriptionParser::InsertEntry(const xml::Node& element,
                                                        QTreeWidgetItem* parent) {
    CNavigationEntry* entry =
        m_navigation.InsertEntry(ReadNumber(element.Attribute("@assignedApplicationViewId", "0")),
                                 element.Attribute("@label"), parent, nullptr);
    if (entry == nullptr) {
        return nullptr;
    }
    entry->tag = element.Attribute("@tag");
    // The parser limits the nesting depth of a document, and with it this recursion.
    for (const xml::Node& child : element.SelectAll("./Entry")) {
        InsertEntry(child, entry->item);
    }
    return entry;
}

void CLayoutDescriptionParser::CreateGenericView(const xml::Node& element) {
    const CGenericViewDescription description = ReadGenericView(element);
    if (!m_genericViewHook) {
        return;
    }
    std::unique_ptr<IApplicationView> view =
        m_genericViewHook(description, m_controller, m_viewParent, m_textProvider);
    if (view && !m_controller.RegisterView(description.viewId, view)) {
        throw std::runtime_error("view id " + std::to_string(description.viewId) +
                                 " is registered already");
    }
}

void CLayoutDescriptionParser::SelectAfterReload(std::optional<int> selectedViewId,
                                                 int rootViewId) {
    // A view id the new tree no longer has falls back on the root, so that the tree never
    // stays without a selection while the old view is shown.
    if ((selectedViewId && m_navigation.SelectView(*selectedViewId)) ||
        m_navigation.SelectView(rootViewId)) {
        m_navigation.SetFocus();
    }
}
