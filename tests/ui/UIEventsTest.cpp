#include "ui/UIEvents.h"
#include "ui/BlockEvents.h"

#include <QLineEdit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Ref;
using ::testing::Return;
using ::testing::StrictMock;

class MockCallback : public IUIEventCallback {
public:
    MOCK_METHOD(bool, OnAction, (CActionEvent&), (override));
    MOCK_METHOD(bool, OnCommand, (CCommandEvent&), (override));
    MOCK_METHOD(bool, OnViewActivated, (CViewActivatedEvent&), (override));
    MOCK_METHOD(bool, OnViewRequest, (CViewRequestEvent&), (override));
    MOCK_METHOD(bool, OnBitEnumSet, (CBitEnumSetEvent&), (override));
    MOCK_METHOD(bool, OnComboBoxSet, (CComboBoxSetEvent&), (override));
    MOCK_METHOD(bool, OnTextDataSet, (CTextDataSetEvent&), (override));
    MOCK_METHOD(bool, OnGenericSet, (CGenericSetEvent&), (override));
};

TEST(UIEvents, GetEventsStartWithTheirInitialValuesAndDispatchNothing) {
    StrictMock<MockCallback> callback; // any call fails the test

    CTextDataGetEventImpl text(7, 19464192, "mode");
    EXPECT_EQ(text.GetType(), 1);
    EXPECT_EQ(text.GetOwnerId(), 7);
    EXPECT_EQ(text.GetControlId(), 19464192);
    EXPECT_EQ(text.GetTag(), "mode");
    EXPECT_EQ(text.GetValue(), "");
    EXPECT_EQ(text.GetUnitText(), "");
    EXPECT_TRUE(text.IsEnabled());
    EXPECT_FALSE(text.IsModified());
    EXPECT_FALSE(text.IsInconsistent());
    EXPECT_FALSE(text.HasError());
    EXPECT_EQ(text.GetErrorText(), "");
    EXPECT_FALSE(text.Dispatch(callback));

    CComboBoxGetEventImpl combo(1, 2, "units");
    EXPECT_EQ(combo.GetType(), 6);
    EXPECT_TRUE(combo.GetChoiceCollection().empty());
    EXPECT_FALSE(combo.AreChoicesSet());
    EXPECT_EQ(combo.GetSelectedValue(), "");
    EXPECT_TRUE(combo.IsEnabled());
    EXPECT_FALSE(combo.IsModified());
    EXPECT_FALSE(combo.IsInconsistent());
    EXPECT_FALSE(combo.Dispatch(callback));

    CBitEnumGetEventImpl bits(1, 2, "alarms");
    EXPECT_EQ(bits.GetType(), 8);
    EXPECT_EQ(bits.GetValue(), 0u);
    EXPECT_TRUE(bits.IsEnabled());
    EXPECT_FALSE(bits.IsModified());
    EXPECT_FALSE(bits.IsInconsistent());
    EXPECT_FALSE(bits.Dispatch(callback));
}

TEST(UIEvents, HandlersAnswerGetEventsAndReportErrors) {
    CTextDataGetEventImpl text(1, 2, "t");
    CTextDataGetEvent& asked = text; // what a handler sees
    asked.MarkInconsistent();
    asked.SetError("Input is empty");
    EXPECT_TRUE(text.IsInconsistent());
    EXPECT_TRUE(text.HasError());
    EXPECT_EQ(text.GetErrorText(), "Input is empty");

    // An empty list counts as an answer too.
    CComboBoxGetEventImpl combo(1, 2, "c");
    combo.SetChoiceCollection({});
    EXPECT_TRUE(combo.AreChoicesSet());

    // All 32 bits of a mask come through.
    CBitEnumGetEventImpl bits(1, 2, "b");
    bits.SetValue(0x80000001u);
    EXPECT_EQ(bits.GetValue(), 0x80000001u);
}

TEST(UIEvents, EveryOtherFamilyCallsItsOwnHandler) {
    StrictMock<MockCallback> callback;

    CTextDataSetEventImpl textSet(1, 22806528, "tag", "4.5", true);
    EXPECT_EQ(textSet.GetType(), 2);
    EXPECT_EQ(textSet.GetValue(), "4.5");
    EXPECT_TRUE(textSet.GetFlag());
    EXPECT_CALL(callback, OnTextDataSet(Ref(textSet))).WillOnce(Return(true));
    EXPECT_TRUE(textSet.Dispatch(callback));

    CCommandEventImpl command(CUIEventBase::kCommand, 1, 2, "button");
    EXPECT_EQ(command.GetType(), 3);
    EXPECT_TRUE(command.GetFlag());
    command.SetFlag(false);
    EXPECT_FALSE(command.GetFlag());
    EXPECT_CALL(callback, OnCommand(Ref(command))).WillOnce(Return(true));
    EXPECT_TRUE(command.Dispatch(callback));

    // An action from a button that is not a check button carries state 2.
    CActionEventImpl action(300);
    EXPECT_EQ(action.GetType(), 4);
    EXPECT_EQ(action.GetActionId(), 300);
    EXPECT_EQ(action.GetState(), 2);
    action.SetState(CActionEvent::kStateChecked);
    EXPECT_EQ(action.GetState(), 0);
    EXPECT_CALL(callback, OnAction(Ref(action))).WillOnce(Return(false));
    EXPECT_FALSE(action.Dispatch(callback));

    CViewRequestEventImpl request(1100);
    EXPECT_EQ(request.GetType(), 5);
    EXPECT_EQ(request.GetViewId(), 1100);
    EXPECT_CALL(callback, OnViewRequest(Ref(request))).WillOnce(Return(true));
    EXPECT_TRUE(request.Dispatch(callback));

    CComboBoxSetEventImpl comboSet(1, 2, "c", {"Closed", "1", 1}, 1);
    EXPECT_EQ(comboSet.GetType(), 7);
    EXPECT_EQ(comboSet.GetSelectedChoice(), (CComboBoxChoice{"Closed", "1", 1}));
    EXPECT_EQ(comboSet.GetIndex(), 1);
    EXPECT_CALL(callback, OnComboBoxSet(Ref(comboSet))).WillOnce(Return(true));
    EXPECT_TRUE(comboSet.Dispatch(callback));

    CBitEnumSetEventImpl bitSet(1, 2, "b", 0xFFFFFFFFu, false);
    EXPECT_EQ(bitSet.GetType(), 9);
    EXPECT_EQ(bitSet.GetValue(), 0xFFFFFFFFu);
    EXPECT_FALSE(bitSet.GetFlag());
    EXPECT_CALL(callback, OnBitEnumSet(Ref(bitSet))).WillOnce(Return(true));
    EXPECT_TRUE(bitSet.Dispatch(callback));

    CViewActivatedEventImpl activated(1307);
    EXPECT_EQ(activated.GetType(), 10);
    EXPECT_EQ(activated.GetViewId(), 1307);
    EXPECT_CALL(callback, OnViewActivated(Ref(activated))).WillOnce(Return(true));
    EXPECT_TRUE(activated.Dispatch(callback));

    CGenericSetEventImpl generic(3, 4, "g", "text", true);
    EXPECT_EQ(generic.GetType(), 11);
    EXPECT_EQ(generic.GetOwnerId(), 3);
    EXPECT_EQ(generic.GetControlId(), 4);
    EXPECT_EQ(generic.GetTag(), "g");
    EXPECT_EQ(generic.GetValue(), "text");
    EXPECT_CALL(callback, OnGenericSet(Ref(generic))).WillOnce(Return(true));
    EXPECT_TRUE(generic.Dispatch(callback));
}

TEST(BlockEvents, WritesDuringTheGuardRaiseNothingAndTheFlagEndsFalse) {
    // A control that raises a set event for every text change unless its events are blocked.
    QLineEdit edit;
    bool blocked = false;
    int setEvents = 0;
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&] {
        if (!blocked) {
            ++setEvents;
        }
    });
    {
        CBlockEvents guard(&blocked);
        EXPECT_TRUE(blocked);
        edit.setText("refreshed");
    }
    EXPECT_EQ(setEvents, 0);
    EXPECT_FALSE(blocked);
    edit.setText("typed");
    EXPECT_EQ(setEvents, 1);

    // Not nested: the flag ends false even when it was true before the guard.
    blocked = true;
    { CBlockEvents guard(&blocked); }
    EXPECT_FALSE(blocked);
}

} // namespace
