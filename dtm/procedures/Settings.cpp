#include "dtm/procedures/Settings.h"

#include "dtm/DeviceModel.h"
#include "dtm/ParameterDictionary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<double> Number(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

double ReadSetting(const CDeviceModel& store, const CParameterDictionary& dictionary,
                   std::uint32_t key) {
    const SParameterDefinition* definition = dictionary.Find(key);
    if (definition == nullptr) {
        return 0;
    }
    const double value =
        Number(store.Read(key)).value_or(Number(definition->defaultValue).value_or(0));
    const double low = Number(definition->min).value_or(value);
    const double high = Number(definition->max).value_or(value);
    return std::clamp(value, low, std::max(low, high));
}
