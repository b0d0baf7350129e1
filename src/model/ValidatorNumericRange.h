#pragma once

#include "model/Validator.h"

#include <cstdint>

// A range check on numbers of type T (signed or unsigned 64-bit, or double). Whole numbers
// may also carry a step: a value must then be divisible by it. A step of 0 (or, for signed
// numbers, below 0) means no step; doubles have none.
template <class T> class CNumericRangeValidator final : public IValidator {
public:
    CNumericRangeValidator(T min, T max, T step, ValidatorTextSource texts);

    bool Validate(std::string_view text) override;
    const std::string& GetMessage() const override { return m_message; }

    T GetMin() const { return m_min; }
    T GetMax() const { return m_max; }
    T GetStep() const { return m_step; }

private:
    bool Fail(int textId, std::initializer_list<std::pair<std::string_view, T>> values);

    T m_min;
    T m_max;
    T m_step;
    ValidatorTextSource m_texts;
    std::string m_message;
};

using CValidatorNumericRange = CNumericRangeValidator<std::int64_t>;
using CValidatorNumericRangeUnsigned = CNumericRangeValidator<std::uint64_t>;
using CValidatorNumericRange_double = CNumericRangeValidator<double>;

extern template class CNumericRangeValidator<std::int64_t>;
extern template class CNumericRangeValidator<std::uint64_t>;
extern template class CNumericRangeValidator<double>;
