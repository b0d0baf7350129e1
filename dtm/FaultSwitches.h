#pragma once

#include "com/HResult.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

// Frames of the buffers the positioner serves through its segment record. All are off at first.
struct SFrameFaults {
    // Frame numbers whose frame carries SeqID + 1 instead of its number.
    std::set<std::uint32_t> wrongSeqIdFrames;
    // Every frame carries SeqID + 1.
    bool wrongSeqIdAlways = false;
    // Every frame carries Type + 1.
    bool wrongType = false;
    // The last word of every frame is "ZZZZ" (the header words stay readable).
    bool nonHexadecimalWord = false;
    // The last word of every frame is "10000", beyond 16 bits.
    bool wordOutOfRange = false;
    // The device prepares nothing: a read of the segment record returns the previous frame.
    bool noAnswer = false;

    bool WrongSeqId(std::uint32_t frameNumber) const {
        return wrongSeqIdAlways || wrongSeqIdFrames.contains(frameNumber);
    }
};

// The valve tests (ramp, multi-step, partial stroke). All are off at first.
struct SProcedureFaults {
    // 3 (aborted) or 4 (failed): every test ends at its end time with this state instead of
    // 2 (finished) and keeps no results. Other values change nothing.
    int failState = 0;
    // The valve does not move during partial stroke tests, so every stroke fails.
    bool stuckValve = false;
};

// The calibration procedures. All are off at first.
struct SCalibrationFaults {
    // 0x02 (no movement), 0x03 (pot failure) or 0x06 (air supply low): every automatic
    // procedure fails after its first state with this status. Other values change nothing.
    int failure = 0;
    // The leak test finds a leak and waits (status 0x12).
    bool leak = false;
    // Calibration steps stay in progress and never end.
    bool noAnswer = false;
};

// The faults the simulated DTM shows when told to, so that tests and the frame can watch
// how the control copes with a DTM that misbehaves. All are off at first.
struct SFaultSwitches {
    // RegisterUI answers registered = false and keeps nothing.
    bool refuseRegistration = false;
    // Queries for IDtmUIRegistration and IDtmUIAccess answer E_NOINTERFACE; the parameter
    // access stays reachable.
    bool hideRegistration = false;
    // Reads (function 4) are accepted, but their replies are lost: no UpdateUI follows.
    bool dropReadReplies = false;
    // Fieldbus services (functions 11 to 15) are accepted, but their replies are lost.
    bool dropServiceReplies = false;
    // Every fieldbus service answers a service error (update type 605) instead of its
    // response, as when the bus fails.
    bool failServices = false;
    // A write of the command element 0x015B0001 is stored, but the device does not carry the
    // command out: nothing starts, nothing answers, no state changes.
    bool commandsUnanswered = false;
    // Keys the DTM behaves as if it did not describe: their control data, value sets and
    // reads are refused.
    std::set<std::uint32_t> undescribedKeys;
    // Operation name ("GetControlData", "ExecuteFunction", ...) to the HRESULT it answers
    // instead of doing its work. The call is still logged.
    std::map<std::string, HRESULT, std::less<>> failingOperations;
    // Frames of the buffer server.
    SFrameFaults frames;
    // Procedures of the positioner.
    SProcedureFaults procedures;
    // Calibrations of the positioner.
    SCalibrationFaults calibration;

    std::optional<HRESULT> FailureOf(std::string_view operation) const {
        const auto it = failingOperations.find(operation);
        return it != failingOperations.end() ? std::optional(it->second) : std::nullopt;
    }
};
