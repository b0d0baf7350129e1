#pragma once

#include "controls/FdtControlBase.h"
#include "model/Validator.h"

#include <QPointer>
#include <QValidator>

#include <array>
#include <memory>
#include <string>

#include <QLineEdit>

// An edit field showing one parameter's value as text, with its label and unit. It fills
// itself with a text get event and hands a changed value back with a set event when editing
// ends (the Enter key or the focus leaving the field). A refused value puts it into the
// semantic-error state; the typed text stays in the field either way.
class CFdtTextControl : public CFdtControlBase {
public:
    static constexpr int kDefaultWidth = 160;

    explicit CFdtTextControl(const SControlSetup& setup) : CFdtControlBase(setup) {}
    ~CFdtTextControl() override;

    std::string GetTypeName() const override { return "FdtTextControl"; }
    bool IsDataBound() const override { return true; }
    // Raises the text get event and shows the answer; an event nobody answers, or one that
    // fails, leaves the value not available.
    void RequestData() override;
    // Hands the edited text to the edit model when the user changed it: nothing when the
    // field is read only or its text is the one shown last; a value the validator refuses
    // goes no further than the field.
    virtual void Commit();

    // -1: no limit.
    void SetStringLength(int length);
    void SetReadOnly(bool readOnly);
    void SetValidator(std::unique_ptr<IValidator> validator);

    std::string GetWindowText() const override;
    // Shows `text` as the value (not as an edit: no set event follows).
    void SetWindowText(const std::string& text) override;
    QLineEdit* GetEdit() const { return m_edit; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;
    bool IsEditable() const override { return true; }
    // Value, string length and visibility.
    void UpdateKindFromControlData(const xml::Node& controlData) override;
    // Raises the text get event and shows the answer; false when nobody answered or the event
    // failed.
    bool FetchValue();
    void ShowAnswer(const std::string& value, const std::string& unit);

private:
    QPointer<QLineEdit> m_edit;
    std::string m_lastShown;
    bool m_readOnly = false;
    int m_stringLength = -1;
    std::unique_ptr<IValidator> m_validator;
};

// Text typed into a packed-ASCII field: the characters the device can store, space to
// underscore, with lower-case letters taken as upper case, and backspace. Anything else is
// refused as it is typed.
class CPackedAsciiValidator : public QValidator {
public:
    using QValidator::QValidator;

    static bool IsAllowed(char32_t code);
    State validate(QString& input, int& position) const override;
};

// A text control for packed-ASCII values: the field shows and sends what the device will
// store (upper case).
class CFdtPackedAsciiControl : public CFdtTextControl {
public:
    using CFdtTextControl::CFdtTextControl;

    std::string GetTypeName() const override { return "FdtPackedAsciiControl"; }

protected:
    QWidget* CreateField(QWidget* frame) override;
};

// A text control that device views create themselves: its get event also brings the unit,
// and a get event that fails leaves the field as it was.
class CFdtManualTextControl : public CFdtTextControl {
public:
    using CFdtTextControl::CFdtTextControl;

    void RequestData() override;
};
