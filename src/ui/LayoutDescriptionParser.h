#pragma once

#include "ui/UIController.h"
#include "xml/Xml.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class ITextResource;

// What a `GenericView` element of a layout description says about its view; the element's
// children describe the view's controls.
struct CGenericViewDescription {
    int viewId = 0;
    bool autoSizeLables = false; // named as the element's attribute
    std::string layoutManager = "DummyLayout";
    int helpContextId = 0;
    xml::Node element;
};

// Reads a layout description (root `UILayoutDescription`): its `NavigationArea` entries
// rebuild the navigation tree, its `GenericView` elements become application views
// registered with the controller. The selection survives a reload when the new tree has an
// entry of the same view id, otherwise the first root entry is selected.
class CLayoutDescriptionParser {
public:
    // Makes the view of one `GenericView` element as a child of the view parent; null makes
    // none. The parser registers the view with the controller.
    using GenericViewHook = std::function<std::unique_ptr<IApplicationView>(
        const CGenericViewDescription& description, IUIController& controller, QWidget* viewParent,
        ITextResource* textProvider)>;

    // Without a hook `GenericView` elements are read but make no view.
    CLayoutDescriptionParser(IUIController& controller, INavigationArea& navigation,
                             QWidget* viewParent, ITextResource* textProvider,
                             GenericViewHook genericViewHook = {});

    // False (nothing changed) when the document does not load. A `GenericView` element with
    // a bad attribute, or whose view id is registered already, is reported and skipped.
    bool Parse(const std::string& document);

    // The layout parser the controller's LoadLayout runs.
    static CUIController::LayoutParser MakeLayoutParser(GenericViewHook genericViewHook = {});

    // A decimal attribute; 0 for text that is not a 32-bit decimal number.
    static int ReadNumber(const std::string& text);
    // Throws std::runtime_error "Input format is not valid" for a bad `autoSizeLables` text.
    static CGenericViewDescription ReadGenericView(const xml::Node& element);

private:
    // The view id of the first root entry when the tree was rebuilt.
    std::optional<int> ParseNavigation(const xml::Document& document);
    CNavigationEntry* InsertEntry(const xml::Node& element, QTreeWidgetItem* parent);
    void CreateGenericView(const xml::Node& element);
    void SelectAfterReload(std::optional<int> selectedViewId, int rootViewId);

    IUIController& m_controller;
    INavigationArea& m_navigation;
    QWidget* m_viewParent;
    ITextResource* m_textProvider;
    GenericViewHook m_genericViewHook;
};
