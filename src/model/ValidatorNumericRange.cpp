#include "model/ValidatorNumericRange.h"

#include "model/Conversions.h"

#include <exception>
#include <utility>

namespace {

void ReplaceAll(std::string& text, std::string_view placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

} // namespace

template <class T>
CNumericRangeValidator<T>::CNumericRangeValidator(T min, T max, T step, ValidatorTextSource texts)
    : m_min(min), m_max(max), m_step(step), m_texts(std::move(texts)) {}

template <class T> bool CNumericRangeValidator<T>::Validate(std::string_view text) {
    m_message.clear();
    T value{};
    try {
        value = CConversions::parse<T>(text);
    } catch (const std::exception&) {
        return Fail(std::is_integral_v<T> ? eTextNotWholeNumber : eTextNotFloatingNumber, {});
    }
    // Written so that a NaN fails the range check.
    if (!(m_min <= value && value <= m_max)) {
        return Fail(eTextNumericRange, {{"{min}", m_min}, {"{max}", m_max}});
    }
    if constexpr (std::is_integral_v<T>) {
        if (m_step > 0 && value % m_step != 0) {
            return Fail(eTextNotDivisible, {{"{step}", m_step}});
        }
    }
    return true;
}

template <class T>
bool CNumericRangeValidator<T>::Fail(int textId,
                                     std::initializer_list<std::pair<std::string_view, T>> values) {
    m_message = m_texts ? m_texts(textId) : BuiltInValidatorText(textId);
    for (const auto& [placeholder, value] : values) {
        ReplaceAll(m_message, placeholder, CConversions::to_string(value));
    }
    return false;
}

template class CNumericRangeValidator<std::int64_t>;
template class CNumericRangeValidator<std::uint64_t>;
template class CNumericRangeValidator<double>;
