#pragma once

#include "com/ComObject.h"
#include "edit/EditModel.h"
#include "fdt/DtmInterfaces.h"
#include "server/ControlViews.h"
#include "server/ControlWidget.h"
#include "server/FdtActiveXImpl.h"
#include "server/ServerRegistration.h"

#include <QPointer>

// The control's own interface; it has no operations of its own.
class IOnlineView : public IUnknown {
public:
    static constexpr IID Iid = IID_IOnlineView;
};

// The online view control (class `OnlineView`, "OnlineView Class"): what the frame creates
// through the class factory, initialises with its DTM and embeds. It holds its edit model,
// which lives exactly as long as the control, and owns its window: the frame parents the
// widget for display and hands it back (ReleaseWidget) before its last Release, and the
// control deletes the window when it goes. A window that the frame deletes anyway is
// noticed, and the next GetWidget makes a new one.
class COnlineView final
    : public ComObject<IOnlineView, IUpdateUI, IDtmActiveXControl, IControlWidget, IControlViews>,
      public CFdtActiveXImpl {
public:
    COnlineView();

    // IDtmActiveXControl. Both answer S_OK whatever happens inside (E_POINTER for a null
    // `result`); the outcome is in `result`.
    HRESULT Init(const std::string& invokeId, const std::string& functionCall, IUnknown* dtm,
                 VARIANT_BOOL* result) override;
    HRESULT PrepareToRelease(VARIANT_BOOL* result) override;

    // IUpdateUI: the data as text to the controller; every failure is dropped, S_OK always.
    HRESULT UpdateUI(std::int32_t updateType, const Variant& data) override;

    // IControlWidget. The first call creates the window with its areas.
    QWidget* GetWidget() override;
    void ReleaseWidget() override;

    // IControlViews, through the controller as a navigation entry shows its view.
    HRESULT ShowView(std::int32_t viewId, VARIANT_BOOL* shown) override;
    std::int32_t GetCurrentViewId() override;
    QWidget* GetCurrentViewWindow() override;

    // CFdtActiveXImpl
    IUnknown* GetControlUnknown() override { return Identity(); }
    QWidget* GetControlWindow() const override { return m_window; }

private:
    ~COnlineView() override;

    CEditModel m_editModel;
    QPointer<QWidget> m_window;
};
