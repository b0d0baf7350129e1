#include "server/FdtActiveXImpl.h"

#include "com/ComError.h"
#include "controls/GenericApplicationView.h"
#include "fdt/DtmInterfaces.h"
#include "server/DtmTextSource.h"
#include "server/FunctionCallSchema.h"
#include "server/ServerRegistration.h"
#include "ui/DtmStateDocument.h"
#include "ui/Guard.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/TextProviderSlot.h"
#include "ui/ToolTipManager.h"
#include "ui/UIEditModel.h"

#include <memory>
#include <type_traits>

namespace {

// Runs `call` with the DTM's IDtmUIRegistration, or else with its IDtmUIAccess, which offers
// the same registration and state operations. False when the DTM offers neither.
template <class Call> bool WithRegistrationInterface(const ComPtr<IUnknown>& dtm, Call&& call) {
    if (const auto registration = dtm.As<IDtmUIRegistration>()) {
        call(*registration);
        return true;
    }
    if (const auto access = dtm.As<IDtmUIAccess>()) {
        call(*access);
        return true;
    }
    return false;
}

// Raises ComError naming the interface the call went through when it failed.
template <class Interface> void Check(HRESULT hr, const Interface&, const char* operation) {
    ThrowIfFailed(hr, std::remove_cvref_t<Interface>::Iid, operation);
}

} // namespace

CFdtActiveXImpl::CFdtActiveXImpl() {
    // Each GenericView element of a layout description becomes a generic application view.
    m_controller.SetLayoutParser(
        CLayoutDescriptionParser::MakeLayoutParser(&CGenericApplicationView::Build));
}

CFdtActiveXImpl::~CFdtActiveXImpl() {
    RemoveToolTipHook();
    ForgetProcessTextProvider(&m_textProvider);
}

void CFdtActiveXImpl::FinalConstruct(IUIEditModel& editModel) {
    m_progId = kOnlineViewVersionIndependentProgId;
    m_editModel = &editModel;
}

// --- Init ----------------------------------------------------------------------------------

bool CFdtActiveXImpl::InitUI(const std::string& invokeId, const std::string& functionCall,
                             IUnknown* dtm) {
    if (dtm == nullptr || !CFunctionCallSchema::IsValid(functionCall)) {
        return false;
    }
    m_invokeId = invokeId;
    m_dtm = ComPtr<IUnknown>(dtm);
    m_functionCall = functionCall;
    bool result = false;
    Guarded("CFdtActiveXImpl: RegisterUI", [&] { result = RegisterWithDtm(); });
    SetProcessTextProvider(&m_textProvider);
    m_controller.SetTextProvider(&m_textProvider);
    m_controller.SetProgId(m_progId);
    StartUI();
    return result;
}

bool CFdtActiveXImpl::RegisterWithDtm() {
    const auto control = ComPtr<IUnknown>(GetControlUnknown()).As<IDtmActiveXControl>();
    // A new DTM starts unregistered and without texts, whatever an earlier Init's DTM had.
    m_registered = false;
    m_controller.SetRegistered(false);
    m_textProvider.SetPrimarySource(nullptr);
    bool result = false;
    WithRegistrationInterface(m_dtm, [&](auto& registration) {
        m_textProvider.SetPrimarySource(std::make_shared<CDtmTextSource>(&registration));
        if (!control) {
            return;
        }
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(registration.RegisterUI(m_progId, m_invokeId, control.Get(), VARIANT_TRUE, &ok),
              registration, "RegisterUI");
        m_registered = ok != VARIANT_FALSE;
        m_controller.SetRegistered(m_registered);
        result = true;
    });
    return result;
}

// --- Start ---------------------------------------------------------------------------------

void CFdtActiveXImpl::StartUI() {
    InstallToolTipHook();
    Guarded("CFdtActiveXImpl: DTM state", [this] { RefreshDtmState(); });
    Guarded("CFdtActiveXImpl: edit model start", [this] { StartEditModel(); });
    // Before the window exists there is nothing to arrange; its posted size message lays the
    // areas out.
    QWidget* control = GetControlWindow();
    if (control == nullptr) {
        return;
    }
    LayoutAreas();
    PositionSplitter(*control);
    FocusNavigation();
}

void CFdtActiveXImpl::RefreshDtmState() {
    // A document that does not parse reads as one without attributes.
    const SDtmStateDocument state =
        SDtmStateDocument::Parse(FetchStateDocument()).value_or(SDtmStateDocument{});
    const QString name = QString::fromStdString(state.name);
    m_identificationArea.SetTitle(m_textProvider.GetText(name).toStdString());
    m_statusArea.SetConnectionState(CStatusArea::ConnectionStateFromText(state.state));
    m_statusArea.SetDataSetState(CStatusArea::DataSetStateFromText(state.dataSetState));
    m_controller.SetUserLevel(state.userLevel);
    if (m_editModel) {
        m_editModel->SetUserLevel(state.userLevel);
    }
    m_controller.SetPrivateDialogsEnabled(state.isPrivateDialogEnabled == "1");
}

std::string CFdtActiveXImpl::FetchStateDocument() const {
    std::string document;
    WithRegistrationInterface(m_dtm, [&document](auto& ui) {
        Check(ui.GetStateDocument(&document), ui, "GetStateDocument");
    });
    return document;
}

void CFdtActiveXImpl::StartEditModel() {
    if (m_editModel == nullptr) {
        return;
    }
    m_editModel->Initialize(&m_controller, &m_textProvider, m_dtm.Get(), m_invokeId, m_progId);
    m_editModel->SetFunctionCall(m_functionCall);
    m_controller.SetEditModel(m_editModel);
    m_editModel->Start();
}

void CFdtActiveXImpl::InstallToolTipHook() {
    if (!m_toolTipHookInstalled) {
        CToolTipManager::Instance().Install();
        m_toolTipHookInstalled = true;
    }
}

void CFdtActiveXImpl::RemoveToolTipHook() {
    if (m_toolTipHookInstalled) {
        CToolTipManager::Instance().Uninstall();
        m_toolTipHookInstalled = false;
    }
}

// --- Release and updates -------------------------------------------------------------------

bool CFdtActiveXImpl::ReleaseUI() {
    if (m_editModel && !m_editModel->CanRelease()) {
        return false;
    }
    if (m_dtm) {
        const bool registered = m_registered;
        TerminateEditModel();
        UnregisterFromDtm(registered);
        m_dtm = nullptr;
    }
    return true;
}

void CFdtActiveXImpl::TerminateEditModel() {
    if (m_editModel == nullptr) {
        return;
    }
    Guarded("CFdtActiveXImpl: edit model end", [this] { m_editModel->Terminate(); });
    m_controller.SetEditModel(nullptr);
    m_editModel = nullptr;
}

void CFdtActiveXImpl::UnregisterFromDtm(bool registered) {
    Guarded("CFdtActiveXImpl: UnregisterUI", [&] {
        WithRegistrationInterface(m_dtm, [&](auto& ui) {
            VARIANT_BOOL answer = VARIANT_FALSE;
            const VARIANT_BOOL flag = registered ? VARIANT_TRUE : VARIANT_FALSE;
            Check(ui.UnregisterUI(m_invokeId, flag, &answer), ui, "UnregisterUI");
        });
    });
}

void CFdtActiveXImpl::OnDtmUpdate(int updateType, const std::string& data) {
    m_controller.OnUpdate(updateType, data);
}
