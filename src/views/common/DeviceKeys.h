#pragma once

#include <cstdint>

// The device parameters that every device view shares (the header, the service mode switch
// and the segment upload), and the values the views write or look for.
namespace device_keys {
inline constexpr std::uint32_t kActiveAlarmCount = 0x01680000;
inline constexpr std::uint32_t kCurrentAlarm = 0x01670000;
inline constexpr std::uint32_t kServiceTarget = 0x01280000; // written: 240 in, 241 out of service
inline constexpr std::uint32_t kServiceMode = 0x01290000;   // 240 in service, else out of service
inline constexpr std::uint32_t kSetpointMode = 0x012E0000;
inline constexpr std::uint32_t kFrameType = 0x015B0001; // the command element
inline constexpr std::uint32_t kProcedureState = 0x015B0002;
inline constexpr std::uint32_t kFrameNumber = 0x015B0004;
inline constexpr std::uint32_t kSegment = 0x01650000;

inline constexpr const char* kInService = "240";
inline constexpr const char* kOutOfService = "241";
inline constexpr const char* kFailureMode = "200";
} // namespace device_keys
