#pragma once

#include <cstdint>

class CDeviceModel;

// The settings records keep positions in tenths of a percent and times in milliseconds.
inline constexpr double kTenths = 10;
inline constexpr double kMilliseconds = 1000;
class CParameterDictionary;

// A setting of a procedure as the procedure uses it: the number the store holds for `key`,
// clamped to the dictionary's limits; the default when the store holds no number; 0 for a
// key the dictionary does not know.
double ReadSetting(const CDeviceModel& store, const CParameterDictionary& dictionary,
                   std::uint32_t key);
