// The control kinds against a fake owner: what they show from get events and control data,
// which set events they raise, and the states they enter.

#include "ControlsTestSupport.h"

#include "controls/FdtBitEnumControl.h"
#include "controls/FdtButtonControl.h"
#include "controls/FdtComboBoxControl.h"
#include "controls/FdtTextControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Types `text` character by character, as a keyboard of any layout would.
void Type(QWidget* field, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(field, &press);
    }
}

class ControlKindsTest : public ::testing::Test {
protected:
    // Answers text get events with `value` and refuses text sets with `refusal`, if set.
    void AnswerText(const std::string& value) {
        owner.answer = [this, value](CUIEventBase& event) {
            if (auto* get = dynamic_cast<CTextDataGetEvent*>(&event)) {
                get->SetValue(value);
            } else if (!refusal.empty()) {
                event.SetError(refusal);
            }
            return true;
        };
    }
    static void TypeAndEnter(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QWidget parent;
    CFakeOwner owner;
    CTextProvider texts;
    std::string refusal;
};

TEST_F(ControlKindsTest, PackedAsciiRefusesWhatTheDeviceCannotStoreAndSendsUpperCase) {
    auto control = MakeControl<CFdtTextControl>(
        "<FdtPackedAsciiControl controlId='5' label='Tag' stringLength='8'/>", parent, owner,
        &texts);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetTypeName(), "FdtPackedAsciiControl");
    QLineEdit* edit = control->GetEdit();
    Type(edit, QStringLiteral("fv`-1{0") + QChar(0xE9) + QChar(0x80) + "~_9");
    EXPECT_EQ(edit->text().toStdString(), "FV-10_9");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_THAT(owner.events, ElementsAre("2 5 FV-10_"));
    for (char32_t code = 0; code < 256; ++code) {
        const bool allowed = (code >= 32 && code <= 95) || (code >= 97 && code <= 122) || code == 8;
        EXPECT_EQ(CPackedAsciiValidator::IsAllowed(code), allowed) << static_cast<unsigned>(code);
    }
}

TEST_F(ControlKindsTest, TextCommitsAChangedTextOnlyAndARefusalStaysUntilASetGoesThrough) {
    auto control = MakeControl<CFdtTextControl>(
        "<FdtTextControl controlId='21168128' label='Stroke length' unit='mm'/>", parent, owner,
        &texts, true);
    AnswerText("40");
    control->RequestData();
    QLineEdit* edit = control->GetEdit();
    EXPECT_EQ(edit->text().toStdString(), "40");
    QTest::keyClick(edit, Qt::Key_Return); // nothing typed
    TypeAndEnter(edit, "40");              // typed, but the same text
    EXPECT_THAT(owner.events, ElementsAre("1 21168128"));

    owner.events.clear();
    refusal = "Value 600 is out of range";
    TypeAndEnter(edit, "600");
    EXPECT_THAT(owner.events, ElementsAre("2 21168128 600"));
    EXPECT_EQ(edit->text().toStdString(), "600"); // the text stays
    EXPECT_EQ(control->GetState(), CFdtControlBase::kStateInvalid);
    EXPECT_EQ(control->GetStateIcon()->toolTip().toStdString(), refusal);
    EXPECT_EQ(edit->toolTip().toStdString(), refusal);
    QTest::keyClick(edit, Qt::Key_Return); // unchanged since: not sent again
    EXPECT_EQ(owner.events.size(), 1u);

    refusal.clear();
    TypeAndEnter(edit, "55");
    EXPECT_FALSE(control->HasSemanticError());
    EXPECT_EQ(control->GetState(), CFdtControlBase::kStateNormal);
    // The control data can report an error of its own, and clears it.
    control->UpdateFromControlData(ControlData("value='55' semanticError='Stroke too long'"));
    EXPECT_EQ(control->GetSemanticErrorText(), "Stroke too long");
    control->UpdateFromControlData(ControlData("value='55' modified='1'"));
    EXPECT_FALSE(control->HasSemanticError());
    EXPECT_EQ(control->GetState(), CFdtControlBase::kStateModified);
    EXPECT_EQ(control->GetStateIcon()->toolTip().toStdString(), "This value is modified!");
}

TEST_F(ControlKindsTest, AValidatorKeepsAValueOutOfItsRangeFromTheOwner) {
    auto control = MakeControl<CFdtTextControl>(
        "<FdtTextControl controlId='9' label='Interval'>"
        "<Validator type='numericRange_double' min='1' max='8760'/></FdtTextControl>",
        parent, owner, &texts);
    TypeAndEnter(control->GetEdit(), "9000");
    EXPECT_THAT(owner.events, IsEmpty());
    EXPECT_EQ(control->GetSemanticErrorText(), "Numeric value must be within 1 and 8760");
    TypeAndEnter(control->GetEdit(), "12");
    EXPECT_THAT(owner.events, ElementsAre("2 9 12"));
    EXPECT_FALSE(control->HasSemanticError());
}

TEST_F(ControlKindsTest, AValueNobodyGivesIsNotAvailableAndTheIconSaysSoWhenTipsAreOn) {
    CReports reports;
    owner.answer = [](CUIEventBase& event) {
        if (event.GetType() == CUIEventBase::kTextDataGet) {
            throw std::runtime_error("GetControlData failed");
        }
        return false; // nobody answers the combo box
    };
    auto text = MakeControl<CFdtTextControl>("<FdtTextControl controlId='3'/>", parent, owner,
                                             &texts, true);
    auto combo = MakeControl<CFdtComboBoxControl>("<FdtComboBoxControl controlId='4'/>", parent,
                                                  owner, &texts);
    text->RequestData();
    combo->RequestData();
    EXPECT_EQ(text->GetState(), CFdtControlBase::kStateNotAvailable);
    EXPECT_EQ(text->GetStateIcon()->toolTip().toStdString(), "Value is not available!");
    EXPECT_FALSE(text->GetEdit()->isEnabled());
    EXPECT_EQ(combo->GetState(), CFdtControlBase::kStateNotAvailable);
    EXPECT_EQ(combo->GetStateIcon()->toolTip().toStdString(), ""); // tips are off
    EXPECT_THAT(reports.texts, ElementsAre("data-bound control: control 3: GetControlData failed"));

    // A combo box's control data with "@available" 0 shows the same state.
    auto described = MakeControl<CFdtComboBoxControl>("<FdtComboBoxControl controlId='6'/>", parent,
                                                      owner, &texts, true);
    described->UpdateFromControlData(
        ControlData("available='0' value='1'",
                    "<ChoiceCollection><Choice caption='Linear' tag='0'/><Choice caption='Rotary' "
                    "tag='1'/></ChoiceCollection>"));
    EXPECT_EQ(described->GetState(), CFdtControlBase::kStateNotAvailable);
    EXPECT_EQ(described->GetStateIcon()->toolTip().toStdString(), "Value is not available!");
    EXPECT_EQ(described->GetWindowText(), "Rotary");
}

TEST_F(ControlKindsTest, ComboBoxListsTheAnsweredChoicesAndSendsTheOneChosen) {
    auto combo = MakeControl<CFdtComboBoxControl>(
        "<FdtComboBoxControl controlId='8' label='Type'><Choice caption='Fixed' tag='3'/>"
        "</FdtComboBoxControl>",
        parent, owner, &texts);
    ASSERT_EQ(combo->GetComboBox()->count(), 1); // the description's choice until answered
    owner.answer = [this](CUIEventBase& event) {
        if (auto* get = dynamic_cast<CComboBoxGetEvent*>(&event)) {
            get->SetChoiceCollection({{"Linear", "0", 0}, {"Rotary", "1", 1}});
            get->SetSelectedValue("Linear");
        } else if (!refusal.empty()) {
            event.SetError(refusal);
        }
        return true;
    };
    combo->RequestData();
    EXPECT_EQ(combo->GetComboBox()->count(), 2);
    EXPECT_EQ(combo->GetWindowText(), "Linear");
    refusal = "Not now";
    combo->GetComboBox()->setCurrentIndex(1);
    Q_EMIT combo->GetComboBox()->activated(1);
    EXPECT_EQ(combo->GetSemanticErrorText(), "Not now");
    refusal.clear();
    Q_EMIT combo->GetComboBox()->activated(1);
    EXPECT_FALSE(combo->HasSemanticError());
    EXPECT_THAT(owner.events, ElementsAre("6 8", "7 8 Rotary", "7 8 Rotary"));
}

TEST_F(ControlKindsTest, BitEnumKindsCheckTheBitsOfTheValueAndSendTheToggledValue) {
    auto bits = MakeControl<CFdtBitEnumControl>(
        "<FdtBitEnumControl controlId='11'><Bit value='1' label='A'/><Bit value='4' label='C'/>"
        "</FdtBitEnumControl>",
        parent, owner, &texts);
    owner.answer = [this](CUIEventBase& event) {
        if (auto* get = dynamic_cast<CBitEnumGetEvent*>(&event)) {
            get->SetValue(5);
        } else if (!refusal.empty()) {
            event.SetError(refusal);
        }
        return true;
    };
    bits->RequestData();
    const std::vector<CBitEnumCheckBox*> boxes = bits->GetCheckBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_TRUE(boxes[1]->isChecked());
    boxes[1]->click();
    EXPECT_EQ(bits->GetValue(), 1u);
    refusal = "Refused";
    boxes[0]->click();
    EXPECT_EQ(bits->GetSemanticErrorText(), "Refused");
    EXPECT_EQ(bits->GetValue(), 1u);
    EXPECT_THAT(owner.events, ElementsAre("8 11", "9 11 1", "9 11 0"));

    // The control data's bits replace the description's; bit-enumerated bits carry tips.
    auto enumerated = MakeControl<CFdtBitEnumControl>(
        "<FdtBitEnumeratedControl controlId='12'>"
        "<BitEnumerator value='2' label='B' tooltip='Bee'/></FdtBitEnumeratedControl>",
        parent, owner, &texts);
    EXPECT_EQ(enumerated->GetTypeName(), "FdtBitEnumeratedControl");
    EXPECT_EQ(enumerated->GetCheckBoxes().at(0)->toolTip().toStdString(), "Bee");
    enumerated->UpdateFromControlData(ControlData(
        "value='8'", "<BitEnumeratorList><BitEnumerator label='D' tooltip='Dee' value='8'/>"
                     "<BitEnumerator label='E' tooltip='' value='16'/></BitEnumeratorList>"));
    ASSERT_EQ(enumerated->GetCheckBoxes().size(), 2u);
    EXPECT_TRUE(enumerated->GetCheckBoxes()[0]->isChecked());
    EXPECT_FALSE(enumerated->GetCheckBoxes()[1]->isChecked());
}

TEST_F(ControlKindsTest, ButtonAndImageRaiseTheirActionIdsWhenClicked) {
    auto button = MakeControl<CFdtButtonControl>(
        "<FdtButtonControl label='Read all' actionId='1'/>", parent, owner, &texts);
    auto image = MakeControl<CFdtImageControl>("<FdtImageControl width='32' height='32'/>", parent,
                                               owner, &texts);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(button->GetButton()->text().toStdString(), "Read all");
    button->GetButton()->click();
    QTest::mouseClick(image->GetImage(), Qt::LeftButton);
    EXPECT_THAT(owner.events, ElementsAre("3 1", "4 -1"));
    EXPECT_EQ(image->GetSize(), QSize(32, 32)); // no label: the picture alone
}

} // namespace
