#include "dtm/DeviceModel.h"

#include "dtm/ParameterDictionary.h"

CDeviceModel::CDeviceModel(const CParameterDictionary& dictionary) {
    for (const std::uint32_t key : dictionary.Keys()) {
        const SParameterDefinition& definition = *dictionary.Find(key);
        if (definition.kind != EDescriptorKind::Record) {
            m_values.emplace(key, definition.defaultValue);
        }
    }
}

std::optional<std::string> CDeviceModel::Read(std::uint32_t key) const {
    const auto it = m_values.find(key);
    return it != m_values.end() ? std::optional(it->second) : std::nullopt;
}

bool CDeviceModel::Write(std::uint32_t key, std::string value) {
    const auto it = m_values.find(key);
    if (it == m_values.end()) {
        return false;
    }
    it->second = std::move(value);
    return true;
}
