#include "edit/EditModelBase.h"

#include "ui/UIController.h"

void CEditModelBase::Initialize(IUIController* controller, ITextResource* textProvider,
                                IUnknown* dtm, const std::string& invokeId,
                                const std::string& progId) {
    m_controller = controller;
    m_textProvider = textProvider;
    m_invokeId = invokeId;
    m_progId = progId;
    m_uiRegistration = QueryOptional<IDtmUIRegistration>(dtm);
    m_uiAccess = QueryOptional<IDtmUIAccess>(dtm);
}

void CEditModelBase::Terminate() {
    m_uiRegistration = nullptr;
    m_uiAccess = nullptr;
}

bool CEditModelBase::IsEditingAllowed() {
    return m_controller != nullptr && m_controller->IsRegistered() &&
           m_controller->GetUserLevel() != "observer";
}
