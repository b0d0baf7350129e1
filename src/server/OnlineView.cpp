#include "server/OnlineView.h"

#include "server/Registry.h"
#include "views/common/DeviceViewServices.h"

#include "ui/Guard.h"
#include "views/ViewCatalog.h"

#include <QWidget>

namespace {

// The control's window. Its size messages lay the areas out; its destruction runs the
// control's window destruction first, which takes the areas back before Qt deletes the
// window's children.
class COnlineViewWindow final : public QWidget {
public:
    // 449 x 299 dialog units of the standard dialog font.
    static constexpr QSize kInitialSize{674, 486};

    explicit COnlineViewWindow(CFdtActiveXImpl& control) : m_control(control) {
        resize(kInitialSize);
    }
    ~COnlineViewWindow() override {
        Guarded("COnlineView: window destruction", [this] { m_control.DestroyWindows(); });
    }
    COnlineViewWindow(const COnlineViewWindow&) = delete;
    COnlineViewWindow& operator=(const COnlineViewWindow&) = delete;

protected:
    void resizeEvent(QResizeEvent*) override {
        Guarded("COnlineView: layout", [this] { m_control.LayoutAreas(); });
    }

private:
    CFdtActiveXImpl& m_control;
};

// The views' settings as values of one registry key, read and written through the registry
// file each time (they change seldom, by hand).
class CRegistryViewSettings final : public IViewSettings {
public:
    std::optional<std::string> Get(const std::string& name) const override {
        Registry registry;
        registry.Load();
        return registry.GetValue(kViewSettingsKey, name);
    }
    void Set(const std::string& name, const std::string& value) override {
        Registry registry;
        registry.Load();
        registry.SetValue(kViewSettingsKey, name, value);
        registry.Save();
    }
};

} // namespace

COnlineView::COnlineView() {
    ViewCatalog::RegisterViews(m_editModel.GetViewTable());
    // The maker's web address for the alarm views' repair and help buttons, if one is set.
    Guarded("COnlineView: maker web address", [] {
        Registry registry;
        registry.Load();
        SetMakerWebAddress(
            registry.GetValue(kMakerWebAddressKey, kMakerWebAddressValue).value_or(""));
    });
    static CRegistryViewSettings settings;
    SetViewSettings(&settings);
    FinalConstruct(m_editModel);
}

COnlineView::~COnlineView() {
    // Window destruction, while the edit model and the areas are still there.
    delete m_window.data();
}

HRESULT COnlineView::Init(const std::string& invokeId, const std::string& functionCall,
                          IUnknown* dtm, VARIANT_BOOL* result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    bool accepted = false;
    Guarded("COnlineView::Init", [&] { accepted = InitUI(invokeId, functionCall, dtm); });
    *result = accepted ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT COnlineView::PrepareToRelease(VARIANT_BOOL* result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    // A control that fails while preparing must not keep the frame asking forever.
    bool mayRelease = true;
    Guarded("COnlineView::PrepareToRelease", [&] { mayRelease = ReleaseUI(); });
    *result = mayRelease ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT COnlineView::UpdateUI(std::int32_t updateType, const Variant& data) {
    Guarded("COnlineView::UpdateUI", [&] { OnDtmUpdate(updateType, data.ToString()); });
    return S_OK;
}

QWidget* COnlineView::GetWidget() {
    if (!m_window) {
        m_window = new COnlineViewWindow(*this);
        CreateWindows(m_window);
    }
    return m_window;
}

void COnlineView::ReleaseWidget() {
    if (m_window) {
        m_window->setParent(nullptr); // also hides it
    }
}

HRESULT COnlineView::ShowView(std::int32_t viewId, VARIANT_BOOL* shown) {
    if (shown == nullptr) {
        return E_POINTER;
    }
    Guarded("COnlineView::ShowView", [&] { GetController().ShowView(viewId); });
    *shown = GetController().GetCurrentViewId() == viewId ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

std::int32_t COnlineView::GetCurrentViewId() {
    return GetController().GetCurrentViewId();
}

QWidget* COnlineView::GetCurrentViewWindow() {
    const IApplicationView* view = GetController().FindView(GetController().GetCurrentViewId());
    return view != nullptr ? view->GetWindow() : nullptr;
}
