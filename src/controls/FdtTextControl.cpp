#include "controls/FdtTextControl.h"

#include "model/Validator.h"
#include "ui/BlockEvents.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QLabel>
#include <QLineEdit>

CFdtTextControl::~CFdtTextControl() {
    // The field may lose the focus while the frame goes; that is no commit.
    if (m_edit) {
        QObject::disconnect(m_edit, nullptr, nullptr, nullptr);
    }
}

QWidget* CFdtTextControl::CreateField(QWidget* frame) {
    m_edit = new QLineEdit(frame);
    // Enter and the focus leaving the field both end the editing.
    QObject::connect(m_edit, &QLineEdit::editingFinished, m_edit, [this] { Commit(); });
    return m_edit;
}

QSize CFdtTextControl::DefaultFieldSize() const {
    return {kDefaultWidth, m_edit ? m_edit->sizeHint().height() : 0};
}

void CFdtTextControl::SetStringLength(int length) {
    m_stringLength = length;
    if (m_edit) {
        m_edit->setMaxLength(length > 0 ? length : 32767); // QLineEdit's own default
    }
}

void CFdtTextControl::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (m_edit) {
        m_edit->setReadOnly(readOnly);
    }
}

void CFdtTextControl::SetValidator(std::unique_ptr<IValidator> validator) {
    m_validator = std::move(validator);
}

std::string CFdtTextControl::GetWindowText() const {
    return m_edit ? m_edit->text().toStdString() : std::string();
}

void CFdtTextControl::SetWindowText(const std::string& text) {
    m_lastShown = text;
    if (!m_edit) {
        return;
    }
    CBlockEvents block(EventsBlockedFlag());
    // The device's value is shown as it is, whatever the input rules of the field.
    const QValidator* input = m_edit->validator();
    m_edit->setValidator(nullptr);
    m_edit->setText(QString::fromStdString(text));
    m_edit->setValidator(input);
    m_edit->setCursorPosition(0);
}

void CFdtTextControl::UpdateKindFromControlData(const xml::Node& controlData) {
    if (const std::optional<std::string> value = controlData.FindAttribute("@value")) {
        // Text the user is still editing stays.
        if (!m_edit || !m_edit->isModified()) {
            SetWindowText(*value);
        }
    }
    if (const std::string length = controlData.Attribute("@stringLength"); !length.empty()) {
        const int parsed = CLayoutDescriptionParser::ReadNumber(length);
        SetStringLength(parsed > 0 ? parsed : -1);
    }
    SetVisible(controlData.Attribute("@visible") != "0");
}

void CFdtTextControl::RequestData() {
    if (!FetchValue()) {
        // Nobody could give the value.
        SetWindowText({});
        SetAvailable(false);
    }
}

bool CFdtTextControl::FetchValue() {
    CTextDataGetEventImpl event(GetOwnerId(), GetControlId(), GetTag());
    PrepareGetEvent(event);
    event.SetUnitText(GetUnitWindow() ? GetUnitWindow()->text().toStdString() : std::string());
    bool handled = false;
    if (Raise(event, &handled) || !handled) {
        return false;
    }
    ShowAnswer(event.GetValue(), event.GetUnitText());
    TakeGetAnswer(event);
    return true;
}

void CFdtTextControl::ShowAnswer(const std::string& value, const std::string& unit) {
    if (!m_edit || !m_edit->isModified()) {
        SetWindowText(value);
    }
    if (!unit.empty()) {
        SetUnit(unit);
    }
}

void CFdtTextControl::Commit() {
    if (!m_edit || m_readOnly || AreEventsBlocked() || !m_edit->isModified()) {
        return;
    }
    const std::string text = m_edit->text().toStdString();
    m_edit->setModified(false);
    if (text == m_lastShown) {
        return;
    }
    if (m_validator && !m_validator->Validate(text)) {
        EnterSemanticError(m_validator->GetMessage());
        return;
    }
    CTextDataSetEventImpl event(GetOwnerId(), GetControlId(), GetTag(), text, true);
    if (RaiseSet(event)) {
        m_lastShown = text;
    }
}

// --- Packed ASCII ----------------------------------------------------------------------------

bool CPackedAsciiValidator::IsAllowed(char32_t code) {
    // Space to underscore, the lower-case letters (taken as upper case) and backspace.
    return (code >= 32 && code <= 95) || (code >= 97 && code <= 122) || code == 8;
}

QValidator::State CPackedAsciiValidator::validate(QString& input, int&) const {
    for (QChar& character : input) {
        if (!IsAllowed(character.unicode())) {
            return Invalid;
        }
        character = character.toUpper();
    }
    return Acceptable;
}

QWidget* CFdtPackedAsciiControl::CreateField(QWidget* frame) {
    QWidget* field = CFdtTextControl::CreateField(frame);
    GetEdit()->setValidator(new CPackedAsciiValidator(GetEdit()));
    return field;
}

// --- Manual text -----------------------------------------------------------------------------

void CFdtManualTextControl::RequestData() {
    FetchValue();
}
