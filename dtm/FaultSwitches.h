#pragma once

#include "com/HResult.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

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
    // Operation name ("GetControlData", "ExecuteFunction", ...) to the HRESULT it answers
    // instead of doing its work. The call is still logged.
    std::map<std::string, HRESULT, std::less<>> failingOperations;

    std::optional<HRESULT> FailureOf(std::string_view operation) const {
        const auto it = failingOperations.find(operation);
        return it != failingOperations.end() ? std::optional(it->second) : std::nullopt;
    }
};
