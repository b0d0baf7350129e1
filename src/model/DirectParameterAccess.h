#pragma once

#include "model/ParameterDescription.h"

#include <cstdint>

// Where views and controls get parameter descriptors from.
class IDirectParameterAccess {
public:
    virtual ~IDirectParameterAccess() = default;
    // The descriptor of `parameterKey`, owned by the callee and valid as long as it lives;
    // null when the DTM describes the parameter with a kind that has no descriptor.
    virtual IParameterDescription* GetParameterDescription(std::int32_t request,
                                                           std::uint32_t parameterKey) = 0;
};
