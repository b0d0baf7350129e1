#include "controls/FdtComboBoxControl.h"

#include "ui/BlockEvents.h"
#include "ui/LayoutDescriptionParser.h"
#include "xml/Xml.h"

#include <QComboBox>

#include <algorithm>

QWidget* CFdtComboBoxControl::CreateField(QWidget* frame) {
    m_combo = new QComboBox(frame);
    // Only a choice the user makes is sent, not a selection the control shows.
    QObject::connect(m_combo, &QComboBox::activated, m_combo,
                     [this](int index) { OnActivated(index); });
    return m_combo;
}

QSize CFdtComboBoxControl::DefaultFieldSize() const {
    return {kDefaultWidth, m_combo ? m_combo->sizeHint().height() : 0};
}

void CFdtComboBoxControl::SetFixedChoices(std::vector<CComboBoxChoice> choices) {
    ShowChoices(choices);
}

std::string CFdtComboBoxControl::GetWindowText() const {
    return m_combo ? m_combo->currentText().toStdString() : std::string();
}

void CFdtComboBoxControl::ShowChoices(const std::vector<CComboBoxChoice>& choices) {
    if (choices == m_choices && m_combo && m_combo->count() == std::ssize(choices)) {
        return;
    }
    m_choices = choices;
    if (!m_combo) {
        return;
    }
    CBlockEvents block(EventsBlockedFlag());
    m_combo->clear();
    for (const CComboBoxChoice& choice : m_choices) {
        m_combo->addItem(QString::fromStdString(choice.label));
    }
    m_combo->setCurrentIndex(-1);
}

void CFdtComboBoxControl::Select(const std::string& caption) {
    if (!m_combo) {
        return;
    }
    CBlockEvents block(EventsBlockedFlag());
    m_combo->setCurrentIndex(m_combo->findText(QString::fromStdString(caption), Qt::MatchExactly));
}

void CFdtComboBoxControl::RequestData() {
    CComboBoxGetEventImpl event(GetOwnerId(), GetControlId(), GetTag());
    PrepareGetEvent(event);
    bool handled = false;
    if (Raise(event, &handled) || !handled) {
        Select({});
        SetAvailable(false);
        return;
    }
    if (event.AreChoicesSet()) {
        ShowChoices(event.GetChoiceCollection());
    }
    Select(event.GetSelectedValue());
    TakeGetAnswer(event);
}

void CFdtComboBoxControl::UpdateKindFromControlData(const xml::Node& controlData) {
    std::vector<CComboBoxChoice> choices;
    for (const xml::Node& choice : controlData.SelectAll(".//ChoiceCollection/Choice")) {
        const std::string tag = choice.Attribute("@tag");
        choices.push_back(
            {choice.Attribute("@caption"), tag, CLayoutDescriptionParser::ReadNumber(tag)});
    }
    if (!choices.empty()) {
        ShowChoices(choices);
    }
    // The current value is a choice's tag.
    const std::string value = controlData.Attribute("@value");
    const auto current = std::ranges::find(m_choices, value, &CComboBoxChoice::value);
    Select(current != m_choices.end() ? current->label : std::string());
    SetVisible(controlData.Attribute("@visible") != "0");
}

void CFdtComboBoxControl::OnActivated(int index) {
    if (AreEventsBlocked() || index < 0 || index >= std::ssize(m_choices)) {
        return;
    }
    CComboBoxSetEventImpl event(GetOwnerId(), GetControlId(), GetTag(),
                                m_choices[static_cast<std::size_t>(index)], index);
    RaiseSet(event);
}
