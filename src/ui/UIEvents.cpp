#include "ui/UIEvents.h"

#include <utility>

void CUIEventBase::SetError(const std::string& text) {
    m_error = true;
    m_errorText = text;
}

// Get events are answered in place by the edit model; nothing is dispatched for them.
bool CTextDataGetEvent::Dispatch(IUIEventCallback&) {
    return false;
}
bool CComboBoxGetEvent::Dispatch(IUIEventCallback&) {
    return false;
}
bool CBitEnumGetEvent::Dispatch(IUIEventCallback&) {
    return false;
}

bool CTextDataSetEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnTextDataSet(*this);
}
bool CGenericSetEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnGenericSet(*this);
}
bool CCommandEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnCommand(*this);
}
bool CActionEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnAction(*this);
}
bool CViewRequestEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnViewRequest(*this);
}
bool CViewActivatedEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnViewActivated(*this);
}
bool CComboBoxSetEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnComboBoxSet(*this);
}
bool CBitEnumSetEvent::Dispatch(IUIEventCallback& callback) {
    return callback.OnBitEnumSet(*this);
}

CTextDataGetEventImpl::CTextDataGetEventImpl(int ownerId, int controlId, std::string tag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)) {}

CTextDataSetEventImpl::CTextDataSetEventImpl(int ownerId, int controlId, std::string tag,
                                             std::string value, bool flag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)), m_value(std::move(value)),
      m_flag(flag) {}

CGenericSetEventImpl::CGenericSetEventImpl(int ownerId, int controlId, std::string tag,
                                           std::string value, bool flag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)), m_value(std::move(value)),
      m_flag(flag) {}

CCommandEventImpl::CCommandEventImpl(int type, int ownerId, int controlId, std::string tag)
    : CCommandEvent(type), m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)) {}

CComboBoxGetEventImpl::CComboBoxGetEventImpl(int ownerId, int controlId, std::string tag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)) {}

void CComboBoxGetEventImpl::SetChoiceCollection(const std::vector<CComboBoxChoice>& choices) {
    m_choices = choices;
    m_choicesSet = true;
}

CComboBoxSetEventImpl::CComboBoxSetEventImpl(int ownerId, int controlId, std::string tag,
                                             CComboBoxChoice selected, int index)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)),
      m_selected(std::move(selected)), m_index(index) {}

CBitEnumGetEventImpl::CBitEnumGetEventImpl(int ownerId, int controlId, std::string tag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)) {}

CBitEnumSetEventImpl::CBitEnumSetEventImpl(int ownerId, int controlId, std::string tag,
                                           std::uint32_t value, bool flag)
    : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)), m_value(value),
      m_flag(flag) {}
