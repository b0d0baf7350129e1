#pragma once

#include "ui/ApplicationView.h"
#include "ui/AreaInterfaces.h"
#include "ui/InternalUpdateUI.h"
#include "ui/Splitter.h"
#include "ui/WindowVisibility.h"

#include <QPointer>
#include <QWidget>

#include <concepts>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class CUIEventBase;
struct SDtmStateDocument;
class IPaneNavigator;
class ITextResource;
class IUIEditModel;

// The hub of the user interface: knows the frame areas, owns the registered application
// views by view id, switches the view in the right pane of the splitter, forwards events to
// the edit model and distributes DTM updates. Operations on an absent area or edit model do
// nothing and answer their neutral value (none, false; true for IsEditingAllowed).
class IUIController {
public:
    virtual ~IUIController() = default;
    // Hands the event to the edit model; false without one.
    virtual bool SendEvent(CUIEventBase& event) = 0;
    virtual void ShowView(int viewId) = 0;
    virtual void UpdateViewControls(int viewId, const std::string& controlData) = 0;
    virtual void LoadLayout(const std::string& layout) = 0;
    // Takes the view and answers true when the id is new. For a known id it answers false,
    // changes nothing and leaves the view with the caller.
    virtual bool RegisterView(int viewId, std::unique_ptr<IApplicationView>& view) = 0;
    // The splitter, parent of all view windows.
    virtual QWidget* GetViewParent() const = 0;
    virtual void RemoveAllViews() = 0;
    // Deletes the view (and with it its window).
    virtual void DeleteView(std::unique_ptr<IApplicationView> view) = 0;
    virtual void RemoveView(int viewId) = 0;
    // -1 until a view was shown.
    virtual int GetCurrentViewId() const = 0;
    virtual IIdentificationArea* GetIdentificationArea() const = 0;
    virtual IActionArea* GetActionArea() const = 0;
    virtual IStatusArea* GetStatusArea() const = 0;
    virtual IToolbarArea* GetToolbarArea() const = 0;
    virtual INavigationArea* GetNavigationArea() const = 0;
    virtual IApplicationView* FindView(int viewId) const = 0;
    virtual void HideActionArea(bool hide) = 0;
    virtual void HideToolbarArea(bool hide) = 0;
    virtual void HideNavigationTree(bool hide) = 0;
    virtual bool IsNavigationTreeHidden() const = 0;
    virtual bool IsRegistered() const = 0;
    virtual void SetRegistered(bool registered) = 0;
    virtual bool ArePrivateDialogsEnabled() const = 0;
    virtual void SetPrivateDialogsEnabled(bool enabled) = 0;
    virtual void SetSplitterPosition(int pixels) = 0;
    // A fraction of the width for the tree; when not 0.0 it wins over the pixel position.
    virtual void SetSplitterRatio(double ratio) = 0;
    // The edit model's ShowHelp with the same arguments.
    virtual void ForwardToEditModel(int first, int second) = 0;
    virtual void SetUserLevel(const std::string& userLevel) = 0;
    virtual std::string GetUserLevel() const = 0;
    virtual bool IsEditingAllowed() const = 0;
    virtual void NotifyUserLevelChanged() = 0;
    virtual void SetProgId(const std::string& progId) = 0;
    virtual std::string GetProgId() const = 0;
    virtual void SetViewState(int viewId, int state) = 0;
    virtual void SetTextProvider(ITextResource* textProvider) = 0;
    virtual ITextResource* GetTextProvider() const = 0;
    // True: every DTM update goes to every view; false: only to the current view.
    virtual void SetBroadcastUpdates(bool broadcast) = 0;
    virtual void RefreshViewControl(int viewId, int controlId) = 0;
    // viewId -1: every view.
    virtual void RefreshControls(int viewId, int controlId) = 0;
};

class CUIController : public IUIController {
public:
    // Parses a layout description for the controller, the navigation area, the view parent
    // and the text provider (the layout description parser).
    using LayoutParser = std::function<void(const std::string& layout, IUIController& controller,
                                            INavigationArea& navigation, QWidget* viewParent,
                                            ITextResource* textProvider)>;

    CUIController();
    ~CUIController() override;
    CUIController(const CUIController&) = delete;
    CUIController& operator=(const CUIController&) = delete;

    bool SendEvent(CUIEventBase& event) override;
    void ShowView(int viewId) override;
    void UpdateViewControls(int viewId, const std::string& controlData) override;
    void LoadLayout(const std::string& layout) override;
    bool RegisterView(int viewId, std::unique_ptr<IApplicationView>& view) override;
    QWidget* GetViewParent() const override;
    void RemoveAllViews() override;
    void DeleteView(std::unique_ptr<IApplicationView> view) override;
    void RemoveView(int viewId) override;
    int GetCurrentViewId() const override { return m_currentViewId; }
    IIdentificationArea* GetIdentificationArea() const override { return m_identification.area; }
    IActionArea* GetActionArea() const override { return m_action.area; }
    IStatusArea* GetStatusArea() const override { return m_status.area; }
    IToolbarArea* GetToolbarArea() const override { return m_toolbar.area; }
    INavigationArea* GetNavigationArea() const override { return m_navigationArea; }
    IApplicationView* FindView(int viewId) const override;
    void HideActionArea(bool hide) override;
    void HideToolbarArea(bool hide) override;
    void HideNavigationTree(bool hide) override;
    bool IsNavigationTreeHidden() const override;
    bool IsRegistered() const override { return m_registered; }
    void SetRegistered(bool registered) override { m_registered = registered; }
    bool ArePrivateDialogsEnabled() const override { return m_privateDialogsEnabled; }
    void SetPrivateDialogsEnabled(bool enabled) override { m_privateDialogsEnabled = enabled; }
    void SetSplitterPosition(int pixels) override { m_splitterPosition = pixels; }
    void SetSplitterRatio(double ratio) override { m_splitterRatio = ratio; }
    void ForwardToEditModel(int first, int second) override;
    void SetUserLevel(const std::string& userLevel) override;
    std::string GetUserLevel() const override { return m_userLevel; }
    bool IsEditingAllowed() const override;
    void NotifyUserLevelChanged() override;
    void SetProgId(const std::string& progId) override { m_progId = progId; }
    std::string GetProgId() const override { return m_progId; }
    void SetViewState(int viewId, int state) override;
    void SetTextProvider(ITextResource* textProvider) override { m_textProvider = textProvider; }
    ITextResource* GetTextProvider() const override { return m_textProvider; }
    void SetBroadcastUpdates(bool broadcast) override { m_broadcastUpdates = broadcast; }
    void RefreshViewControl(int viewId, int controlId) override;
    void RefreshControls(int viewId, int controlId) override;

    // --- Not part of the interface: the control's side ---

    // Distributes a DTM update: the state document (type 1) sets the private-dialogs flag
    // and the user level; then the action area, the edit model, the identification, status
    // and toolbar areas, and the views (every view in id order when broadcasting, else the
    // current one).
    void OnUpdate(int updateType, const std::string& data);
    void SetEditModel(IUIEditModel* editModel) { m_editModel = editModel; }
    IUIEditModel* GetEditModel() const { return m_editModel; }

    // The areas are set once by the control when its window initialises. Each area is a
    // window that also takes the DTM updates; the toolbar and action area can be hidden.
    void SetSplitter(CSplitter* splitter) { m_splitter = splitter; }
    template <class Area>
    requires std::derived_from<Area, IActionArea> && std::derived_from<Area, IInternalUpdateUI> &&
        std::derived_from<Area, IWindowVisibility> && std::derived_from<Area, QWidget>
    void SetActionArea(Area* area) { m_action = {area, area, area, area}; }
    template <class Area>
    requires std::derived_from<Area, IIdentificationArea> &&
        std::derived_from<Area, IInternalUpdateUI>
    void SetIdentificationArea(Area* area) { m_identification = {area, area}; }
    template <class Area>
    requires std::derived_from<Area, IStatusArea> && std::derived_from<Area, IInternalUpdateUI>
    void SetStatusArea(Area* area) { m_status = {area, area}; }
    template <class Area>
    requires std::derived_from<Area, IToolbarArea> && std::derived_from<Area, IInternalUpdateUI> &&
        std::derived_from<Area, IWindowVisibility>
    void SetToolbarArea(Area* area) { m_toolbar = {area, area, area}; }
    void SetNavigationArea(INavigationArea* area) { m_navigationArea = area; }
    void SetPaneNavigator(IPaneNavigator* navigator) { m_paneNavigator = navigator; }
    // Until the layout description parser is set, LoadLayout does nothing.
    void SetLayoutParser(LayoutParser parser) { m_layoutParser = std::move(parser); }

    int GetSplitterPosition() const { return m_splitterPosition; }
    double GetSplitterRatio() const { return m_splitterRatio; }

    // Window destruction: empties pane slot 1, deletes every view, and forgets the splitter,
    // the action, identification, status and toolbar areas and the edit model.
    void DestroyViews();

private:
    // The faces of one area that the controller uses.
    template <class Area> struct AreaLinks {
        Area* area = nullptr;
        IInternalUpdateUI* updates = nullptr;
    };
    struct ToolbarLinks {
        IToolbarArea* area = nullptr;
        IInternalUpdateUI* updates = nullptr;
        IWindowVisibility* visibility = nullptr;
    };
    struct ActionLinks {
        IActionArea* area = nullptr;
        IInternalUpdateUI* updates = nullptr;
        IWindowVisibility* visibility = nullptr;
        QWidget* window = nullptr;
    };

    IApplicationView* FindViewByWindow(const QWidget* window) const;
    void ReadStateDocument(const SDtmStateDocument& state);
    // Asks the control window to lay out its areas again.
    void PostLayout() const;

    IPaneNavigator* m_paneNavigator = nullptr;
    int m_splitterPosition = -1; // -1: centred
    double m_splitterRatio = 0.0;
    std::map<int, std::unique_ptr<IApplicationView>> m_views;
    QPointer<CSplitter> m_splitter; // null once the splitter window is gone
    ActionLinks m_action;
    AreaLinks<IIdentificationArea> m_identification;
    AreaLinks<IStatusArea> m_status;
    INavigationArea* m_navigationArea = nullptr;
    ToolbarLinks m_toolbar;
    IUIEditModel* m_editModel = nullptr;
    bool m_registered = false;
    bool m_privateDialogsEnabled = false;
    int m_currentViewId = -1;
    ITextResource* m_textProvider = nullptr;
    std::string m_userLevel;
    std::string m_progId;
    bool m_broadcastUpdates = false;
    LayoutParser m_layoutParser;
};
