#include "ui/ApplicationViewBase.h"

#include "ui/Guard.h"
#include "ui/ToolTipManager.h"
#include "ui/UIController.h"
#include "ui/ViewToolTip.h"
#include "xml/Xml.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>

QScrollArea* CApplicationViewCore::GetScrollArea() const {
    return m_scrollArea;
}

CViewToolTip* CApplicationViewCore::GetToolTipWindow() const {
    return m_toolTip;
}

CApplicationViewCore::CApplicationViewCore(int viewId, int dialogId)
    : m_viewId(viewId), m_dialogId(dialogId) {}

CApplicationViewCore::~CApplicationViewCore() {
    // The controls and the layout manager may refer to widgets inside the window.
    m_controls.clear();
    m_layoutManager.reset();
    delete m_window.data();
}

QWidget* CApplicationViewCore::Create(QWidget* parent) {
    if (m_window) {
        return m_window;
    }
    auto* window = new QWidget(parent);
    window->setObjectName(QStringLiteral("dialog%1").arg(m_dialogId));
    window->hide(); // until the controller shows the view
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scrollArea = new QScrollArea(window);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    layout->addWidget(scrollArea);
    std::unique_ptr<QWidget> content = CreateDialogContent();
    if (content == nullptr) {
        content = std::make_unique<QWidget>();
    }
    m_content = content.get();
    scrollArea->setWidget(content.release());
    m_scrollArea = scrollArea;
    m_window = window;
    m_toolTip = new CViewToolTip(window);

    auto* help = new QShortcut(QKeySequence::HelpContents, window);
    help->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(help, &QShortcut::activated, window,
                     [this] { Guarded("view help", [this] { OnHelp(); }); });

    OnInitDialog();
    return window;
}

std::unique_ptr<QWidget> CApplicationViewCore::CreateDialogContent() {
    return std::make_unique<QWidget>();
}

bool CApplicationViewCore::AddControl(std::unique_ptr<IFdtControl>& control) {
    if (control == nullptr || m_controls.contains(control->GetControlId())) {
        return false;
    }
    const int id = control->GetControlId();
    m_controls.emplace(id, std::move(control));
    return true;
}

IFdtControl* CApplicationViewCore::FindControl(int controlId) const {
    auto found = m_controls.find(controlId);
    return found != m_controls.end() ? found->second.get() : nullptr;
}

QWidget* CApplicationViewCore::GetWindow() const {
    return m_window;
}

void CApplicationViewCore::Activate() {
    if (m_active) {
        return;
    }
    if (m_toolTip) {
        CToolTipManager::Instance().Register(m_toolTip, m_window);
    }
    m_active = true;
}

void CApplicationViewCore::Deactivate() {
    if (!m_active) {
        return;
    }
    if (m_toolTip) {
        CToolTipManager::Instance().Unregister(m_toolTip);
    }
    if (IStatusArea* status = m_controller ? m_controller->GetStatusArea() : nullptr) {
        status->SetMessageText({});
    }
    m_active = false;
}

void CApplicationViewCore::UpdateControls(const std::string& controlData) {
    const xml::Document document = xml::Document::TryParse(controlData);
    if (document.IsNull()) {
        return;
    }
    // One pass over the document: the first ControlData element of each tag.
    std::unordered_map<std::string, xml::Node> byTag;
    for (const xml::Node& element : document.SelectAll("//ControlData")) {
        byTag.try_emplace(element.Attribute("@tag"), element);
    }
    for (const auto& [id, control] : m_controls) {
        if (auto found = byTag.find(control->GetTag()); found != byTag.end()) {
            control->UpdateFromControlData(found->second);
        }
    }
}

void CApplicationViewCore::AddToolTip(QWidget* child, const std::string& text) {
    if (m_toolTip) {
        m_toolTip->AddTool(child, text);
    }
}

void CApplicationViewCore::RemoveToolTip(QWidget* child) {
    if (m_toolTip) {
        m_toolTip->RemoveTool(child);
    }
}

void CApplicationViewCore::UpdateState() {
    if (m_controller == nullptr) {
        return;
    }
    int state = 0;
    for (const auto& [id, control] : m_controls) {
        state = std::max(state, control->GetState());
    }
    if (state != m_state) {
        m_state = state;
        m_controller->SetViewState(m_viewId, state);
    }
}

void CApplicationViewCore::OnUpdate(int, const std::string&) {}

std::string CApplicationViewCore::GetListOfControls() const {
    const xml::Document document = xml::Document::Create("ListOfControls");
    const xml::Node root = document.Root();
    root.SetAttribute("id", std::to_string(m_viewId));
    for (const auto& [id, control] : m_controls) {
        const xml::Node element = root.AppendChild("Control");
        element.SetAttribute("tag", control->GetTag());
        element.SetAttribute("parameterID", std::to_string(static_cast<std::uint32_t>(id)));
    }
    return document.ToString();
}

void CApplicationViewCore::RefreshControl(int controlId) {
    if (IFdtControl* control = FindControl(controlId)) {
        control->RequestData();
    }
}

void CApplicationViewCore::RefreshControls(int controlId) {
    if (controlId != -1) {
        RefreshControl(controlId);
        return;
    }
    for (const auto& [id, control] : m_controls) {
        control->RequestData();
    }
}

void CApplicationViewCore::OnUserLevelChanged() {
    for (const auto& [id, control] : m_controls) {
        control->OnUserLevelChanged();
    }
}

void CApplicationViewCore::SetLayoutManager(std::unique_ptr<ILayoutManager> manager) {
    m_layoutManager = std::move(manager);
}

void CApplicationViewCore::SetScrollSize(const QSize& size) {
    if (!m_scrollArea || !m_content) {
        return;
    }
    m_scrollArea->horizontalScrollBar()->setValue(0);
    m_scrollArea->verticalScrollBar()->setValue(0);
    m_content->setMinimumSize(size);
}
