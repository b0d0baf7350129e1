#pragma once

#include "model/ValueType.h"

#include <cstdint>
#include <string>

// The time stamp of a parameter's value: the four groups of four decimal digits of the
// control data document's time stamp, in document order.
struct STimestamp {
    std::uint16_t group1 = 0;
    std::uint16_t group2 = 0;
    std::uint16_t group3 = 0;
    std::uint32_t group4 = 0;

    friend bool operator==(const STimestamp&, const STimestamp&) = default;
};

// One device parameter as the DTM describes it. Texts are UTF-8.
class IParameterDescription {
public:
    virtual ~IParameterDescription() = default;
    virtual const std::string& GetLabel() const = 0;
    virtual const std::string& GetTooltip() const = 0;
    virtual const std::string& GetValue() const = 0;
    virtual const std::string& GetUnit() const = 0;
    virtual const std::string& GetName() const = 0;
    virtual EValueType GetValueType() const = 0;
    virtual eParameterType GetParameterType() const = 0;
    // Asks the DTM again for this parameter's control data, passing `request` through, and
    // re-reads the whole document into this object.
    virtual void Update(std::int32_t request) = 0;
    virtual const STimestamp* GetTimestamp() const = 0;
};
