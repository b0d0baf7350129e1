#pragma once

#include "com/ComPtr.h"
#include "server/PaneTabNavigator.h"
#include "ui/ActionArea.h"
#include "ui/IdentificationArea.h"
#include "ui/NavigationArea.h"
#include "ui/Splitter.h"
#include "ui/StatusArea.h"
#include "ui/TextProvider.h"
#include "ui/ToolbarArea.h"
#include "ui/UIController.h"

#include <string>

class IUIEditModel;
class QWidget;

// The companion of the online view control that owns every window and area of the user
// interface: the splitter with the navigation tree and the current view, the status,
// identification, action and toolbar areas, the controller and the text provider. It runs
// the control's side of the frame's calls (Init, PrepareToRelease, UpdateUI) and of the
// control window's life (creation, size messages, destruction).
//
// The areas are members; the control window only parents them for display. Window
// destruction takes them back before Qt deletes the window's children.
class CFdtActiveXImpl {
public:
    CFdtActiveXImpl();
    virtual ~CFdtActiveXImpl();
    CFdtActiveXImpl(const CFdtActiveXImpl&) = delete;
    CFdtActiveXImpl& operator=(const CFdtActiveXImpl&) = delete;

    // Installs the tooltip hook, reads the DTM state, starts the edit model, lays the areas
    // out, positions the splitter and gives the tree the focus. A failing DTM call stops its
    // own step only, so that the user interface shows whatever the DTM does.
    virtual void StartUI();
    // Reads the DTM's state document into the identification title, the status area, the
    // user level and the private-dialogs flag; missing attributes read as empty.
    virtual void RefreshDtmState();
    // The control's own IUnknown.
    virtual IUnknown* GetControlUnknown() = 0;
    // The control's window; null while it does not exist.
    virtual QWidget* GetControlWindow() const = 0;

    // --- The frame's calls ---

    // Init: false for an empty DTM or a function-call document that does not validate
    // (nothing stored, nothing started). Otherwise stores the call, registers the user
    // interface with the DTM (IDtmUIRegistration, else IDtmUIAccess) and starts the UI;
    // answers true when one of them took the registration call.
    bool InitUI(const std::string& invokeId, const std::string& functionCall, IUnknown* dtm);
    // PrepareToRelease: false while the edit model may not be released; otherwise ends the
    // edit model, unregisters from the DTM, drops the DTM and answers true.
    bool ReleaseUI();
    // UpdateUI, its data as text: to the controller, which hands it on.
    void OnDtmUpdate(int updateType, const std::string& data);

    // --- The control window ---

    // The window's initialisation: shared icons, the controller's links, the areas as
    // children of `control`, pane slots 2 and 0, the tree into the splitter, then the
    // layout-ready flag and a posted size message.
    void CreateWindows(QWidget* control);
    // The size message: lays the areas out from the control window's own size, top down
    // identification, toolbar, splitter, action area, with the status area at the bottom.
    // Does nothing until the areas exist.
    void LayoutAreas();
    // The window's destruction: pane slots, views, shared icons, tooltip hook; the areas
    // leave the window.
    void DestroyWindows();

    CUIController& GetController() { return m_controller; }

protected:
    // Final construction: the prog id and the control's own edit model.
    void FinalConstruct(IUIEditModel& editModel);

private:
    bool RegisterWithDtm();
    void StartEditModel();
    std::string FetchStateDocument() const;
    void TerminateEditModel();
    void UnregisterFromDtm(bool registered);
    void InstallToolTipHook();
    void RemoveToolTipHook();

    void LinkController();
    void CreateAreas(QWidget* control);
    void PositionSplitter(const QWidget& control);
    void FocusNavigation();
    void ReleaseAreas();

    ComPtr<IUnknown> m_dtm;
    std::string m_invokeId;
    bool m_registered = false;
    // Members go in reverse order: the tree before the splitter that holds it, the controller
    // (and the views it still has) before the areas.
    CSplitter m_splitter;
    CNavigationArea m_navigationArea;
    CStatusArea m_statusArea;
    CIdentificationArea m_identificationArea;
    CActionArea m_actionArea;
    CToolbarArea m_toolbarArea;
    CUIController m_controller;
    std::string m_progId;
    IUIEditModel* m_editModel = nullptr;
    int m_layoutReady = 0;
    CTextProvider m_textProvider;
    std::string m_functionCall;
    CPaneTabNavigator m_paneNavigator;
    // StartUI installs the hook once; window destruction or the destructor removes it.
    bool m_toolTipHookInstalled = false;
};
