#include "ui/UIEvents.h"

void CUIEventBase::SetError(const std::string& text) {
    m_error = true;
    m_errorText = text;
}

void CComboBoxGetEvent::SetChoiceCollection(const std::vector<CComboBoxChoice>& choices) {
    m_choices = choices;
    m_choicesSet = true;
}
