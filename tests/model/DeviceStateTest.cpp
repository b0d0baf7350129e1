#include "model/DeviceState.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceState, TextTablesAnswerEveryDeviceCode) {
    const SDeviceState state;
    EXPECT_EQ(TableText(state.selectionNames, 19), "Transmitter low DOWN");
    EXPECT_EQ(TableText(state.commandResults, 0) + TableText(state.procedureStates, 5), "");
    EXPECT_EQ(TableText(state.calibrationStatusTexts, 72), "PLAY EST. FINISHED");
    EXPECT_EQ(TableText(state.calibrationStatusTexts, 99), SDeviceState::kNoStatusText);
    // A code outside a table reads as the empty text.
    EXPECT_EQ(TableText(state.selectionNames, 20) + TableText(state.selectionNames, -1) +
                  TableText(state.calibrationStatusTexts, 100),
              "");
}

} // namespace
