#pragma once

#include "model/ParameterDescriptor.h"

#include <cstdint>

// The fields a date or time value decodes into. Which of them a value fills depends on its
// value type; the others keep what they held.
struct SDateTime {
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint16_t year = 0;
    std::int32_t milliseconds = 0;
    std::int32_t days = 0;
    std::int64_t timeValue = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    // The two single-digit fields at the end of an FF date and time: the day of the week and
    // the summer-time flag.
    std::int32_t dayOfWeek = 0;
    std::int32_t summerTime = 0;
};

// A date or a time. The classes below tell the value types apart; this one decodes them all:
// - "edate": "%04d-%02d-%02d" (year, month, day);
// - "etime", "effduration": "%d-%d" (milliseconds, days);
// - "efftimevalue": one decimal 64-bit number (time value);
// - "effdateandtime": "%04d-%02d-%02d %02d:%02d:%02d.%03d %01d %01d" (year, month, day,
//   hour, minute, second, milliseconds, day of week, summer time).
// A value is stored only when all its fields are read and each fits its field; otherwise,
// and for other value types, the fields keep what they held.
class CDateOrTimeParameterDescriptor : public CParameterDescriptor {
public:
    CDateOrTimeParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                                   const xml::Document& document);

    const SDateTime& GetDateTime() const { return m_fields; }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    SDateTime m_fields;
};

// "edate"
class CDateParameterDescriptor final : public CDateOrTimeParameterDescriptor {
public:
    using CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor;
};

// "etime"
class CTimeParameterDescriptor final : public CDateOrTimeParameterDescriptor {
public:
    using CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor;
};

// "efftimevalue"
class CFFTimeValueParameterDescriptor final : public CDateOrTimeParameterDescriptor {
public:
    using CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor;
};

// "effdateandtime"
class CFFDateTimeParameterDescriptor final : public CDateOrTimeParameterDescriptor {
public:
    using CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor;
};

// "effduration"
class CFFDurationParameterDescriptor final : public CDateOrTimeParameterDescriptor {
public:
    using CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor;
};
