#pragma once

#include "com/ComError.h"
#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"
#include "ui/UIEditModel.h"
#include "ui/UIEvents.h"

#include <string>

// The generic part of an edit model: keeps the links to the controller, the text provider
// and the DTM, answers the questions every model answers the same way, and hands each event
// to its typed handler (double dispatch). Every typed handler answers false (not handled)
// until a model overrides it.
class CEditModelBase : public IUIEditModel, public IUIEventCallback {
public:
    CEditModelBase() = default;
    CEditModelBase(const CEditModelBase&) = delete;
    CEditModelBase& operator=(const CEditModelBase&) = delete;

    void OnUpdate(int, const std::string&) override {}
    // Queries the DTM object for IDtmUIRegistration and IDtmUIAccess. A missing interface
    // leaves its reference empty; any other failure raises ComError.
    void Initialize(IUIController* controller, ITextResource* textProvider, IUnknown* dtm,
                    const std::string& invokeId, const std::string& progId) override;
    void Start() override {}
    // Drops both DTM interfaces.
    void Terminate() override;
    bool OnUIEvent(CUIEventBase& event) override { return event.Dispatch(*this); }
    void ShowHelp(int, int) override {}
    void SetFunctionCall(const std::string& functionCall) override {
        m_functionCall = functionCall;
    }
    void SetUserLevel(const std::string& userLevel) override { m_userLevel = userLevel; }
    // True when the controller reports the UI registered with the DTM and its user level is
    // not "observer" (exact comparison); false without a controller.
    bool IsEditingAllowed() override;
    bool CanRelease() override { return true; }
    void OnViewStateChanged(int) override {}

    bool OnAction(CActionEvent&) override { return false; }
    bool OnCommand(CCommandEvent&) override { return false; }
    bool OnViewActivated(CViewActivatedEvent&) override { return false; }
    bool OnViewRequest(CViewRequestEvent&) override { return false; }
    bool OnBitEnumSet(CBitEnumSetEvent&) override { return false; }
    bool OnComboBoxSet(CComboBoxSetEvent&) override { return false; }
    bool OnTextDataSet(CTextDataSetEvent&) override { return false; }
    bool OnGenericSet(CGenericSetEvent&) override { return false; }

    IUIController* GetController() const { return m_controller; }
    const ComPtr<IDtmUIRegistration>& GetUIRegistration() const { return m_uiRegistration; }
    const ComPtr<IDtmUIAccess>& GetUIAccess() const { return m_uiAccess; }
    const std::string& GetInvokeId() const { return m_invokeId; }
    ITextResource* GetTextProvider() const { return m_textProvider; }
    const std::string& GetFunctionCall() const { return m_functionCall; }
    const std::string& GetUserLevel() const { return m_userLevel; }
    const std::string& GetProgId() const { return m_progId; }

private:
    IUIController* m_controller = nullptr;
    ComPtr<IDtmUIRegistration> m_uiRegistration;
    ComPtr<IDtmUIAccess> m_uiAccess;
    std::string m_invokeId;
    ITextResource* m_textProvider = nullptr;
    std::string m_functionCall;
    std::string m_userLevel;
    std::string m_progId;
};

// `object` through interface `I`; null when the object is null or does not offer it. Any
// other failure of the query raises ComError.
template <class I> ComPtr<I> QueryOptional(IUnknown* object) {
    ComPtr<I> result;
    if (object == nullptr) {
        return result;
    }
    const HRESULT hr = object->QueryInterface(I::Iid, reinterpret_cast<void**>(result.Put()));
    if (hr == E_NOINTERFACE) {
        return nullptr;
    }
    ThrowIfFailed(hr, I::Iid, "QueryInterface");
    return result;
}
