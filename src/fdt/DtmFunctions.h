#pragma once

// The numbers that cross the DTM link: the function ids of
// IDtmParameterAccess::ExecuteFunction and the update types of IUpdateUI::UpdateUI. The
// control, the edit model and the simulated DTM all use this one table.

#include <cstdint>

// Function ids of IDtmParameterAccess::ExecuteFunction.
namespace dtm_function {
inline constexpr std::int32_t kUIStarted = 0;      // the user interface started
inline constexpr std::int32_t kUITerminated = 1;   // the user interface is being released
inline constexpr std::int32_t kCloseRequested = 3; // the user asked to close the view
inline constexpr std::int32_t kRead = 4;           // read the parameter named by the argument
inline constexpr std::int32_t kWrite = 5;          // write the DTM's copy of it to the device
inline constexpr std::int32_t kViewActivated = 6;  // a view was requested or activated
inline constexpr std::int32_t kLiveDataBuffer = 7;
// Fieldbus services; each answers with update type kFirstServiceResult + (id - kSmIdentify),
// or with kServiceError.
inline constexpr std::int32_t kSmIdentify = 11;
inline constexpr std::int32_t kSmFindTagQuery = 12;
inline constexpr std::int32_t kFmsStatus = 13;
inline constexpr std::int32_t kFmsGetOd = 14;
inline constexpr std::int32_t kFmsIdentify = 15;
inline constexpr std::int32_t kWriteArrayElement = 18; // write one element of a value array
} // namespace dtm_function

// Update types of IUpdateUI::UpdateUI.
namespace dtm_update {
inline constexpr std::int32_t kStateDocument = 1;        // data: the DTM's state document
inline constexpr std::int32_t kViewControlData = 40;     // data: control data for view 10
inline constexpr std::int32_t kParameterChanged = 100;   // data: decimal parameter key
inline constexpr std::int32_t kFirstServiceResult = 600; // 600 to 604: fieldbus service results
inline constexpr std::int32_t kServiceError = 605;       // a fieldbus service failed
inline constexpr std::int32_t kLastServiceResult = 605;
} // namespace dtm_update
