#include "model/DeviceState.h"

#include <initializer_list>
#include <utility>

namespace {

// A table of `N` texts, empty or `filler` but for the codes given.
template <std::size_t N>
std::array<std::string, N>
FillTable(std::initializer_list<std::pair<std::size_t, const char*>> texts,
          const char* filler = "") {
    std::array<std::string, N> table;
    table.fill(filler);
    for (const auto& [code, text] : texts) {
        table.at(code) = text;
    }
    return table;
}

} // namespace

SDeviceState::SelectionNames SDeviceState::MakeSelectionNames() {
    return FillTable<20>(
        {{0, "In Valid Selection"},  {1, "Supply pressure high"}, {2, "Supply pressure low"},
         {3, "C+ pressure high"},    {4, "C+ pressure low"},      {5, "C- pressure high"},
         {6, "C- pressure low"},     {7, "Signal current high"},  {8, "Signal current low"},
         {9, "Auto stroke"},         {10, "Auto travel"},         {11, "Auto leak"},
         {12, "Auto tune"},          {13, "Transmitter on-line"}, {14, "Transmitter high"},
         {15, "Transmitter low"},    {16, "Transmitter high UP"}, {17, "Transmitter high DOWN"},
         {18, "Transmitter low UP"}, {19, "Transmitter low DOWN"}});
}

SDeviceState::CommandResults SDeviceState::MakeCommandResults() {
    return FillTable<20>({{1, "NO_ERROR"},
                          {2, "INVALID_SELECTION"},
                          {3, "PARAM_TOO_LARGE"},
                          {4, "PARAM_TOO_SMALL"},
                          {5, "WRITE_PROTECTION"},
                          {6, "SPAN_TOO_SMALL"},
                          {7, "DEVICE_IS_BUSY"},
                          {8, "USER_ACTION"}});
}

SDeviceState::ProcedureStates SDeviceState::MakeProcedureStates() {
    return FillTable<100>(
        {{0, "Clear"}, {1, "In progress"}, {2, "Finished"}, {3, "Aborted"}, {4, "Failed"}});
}

SDeviceState::CalibrationStatusTexts SDeviceState::MakeCalibrationStatusTexts() {
    return FillTable<100>({{0, "TRAVEL CALIBRATION FINISHED"},
                           {1, "CALIBRATION IN PROGRESS"},
                           {2, "NO MOVEMENT"},
                           {3, "POT FAILURE"},
                           {4, "CALIB DOWNSTROKE FAST"},
                           {5, "CALIB UPSTROKE FAST"},
                           {6, "AIR SUPPLY LOW"},
                           {16, "LEAK TEST FINISHED"},
                           {17, "LEAK TEST IN PROGRESS"},
                           {18, "LEAKAGE DETECTED"},
                           {32, "AUTO TUNE FINISHED"},
                           {33, "PULSE TUNE IN PROGRESS"},
                           {34, "STEP TUNE IN PROGRESS"},
                           {48, "CALIB NOT DONE"},
                           {67, "PULSE TUNE FINISHED"},
                           {68, "STEP TUNE FINISHED"},
                           {69, "FRICTION EST. IN PROGRESS"},
                           {70, "FRICTION EST. FINISHED"},
                           {71, "PLAY EST. IN PROGRESS"},
                           {72, "PLAY EST. FINISHED"}},
                          kNoStatusText);
}
