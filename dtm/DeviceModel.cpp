#include "dtm/DeviceModel.h"

#include "dtm/ParameterDictionary.h"

#include <sstream>

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
    if (const auto follower = m_followers.find(key); follower != m_followers.end()) {
        follower->second(it->second);
    }
    return true;
}

void CDeviceModel::Follow(std::uint32_t key, Follower follower) {
    m_followers[key] = std::move(follower);
}

std::optional<std::string> CDeviceModel::ReadArrayElement(std::uint32_t key,
                                                          std::size_t index) const {
    const std::optional<std::string> text = Read(key);
    if (!text) {
        return std::nullopt;
    }
    std::vector<std::string> elements = SplitArray(*text);
    if (index == 0 || index > elements.size()) {
        return std::nullopt;
    }
    return std::move(elements[index - 1]);
}

bool CDeviceModel::WriteArrayElement(std::uint32_t key, std::size_t index,
                                     const std::string& value) {
    const std::optional<std::string> text = Read(key);
    if (!text) {
        return false;
    }
    std::vector<std::string> elements = SplitArray(*text);
    if (index == 0 || index > elements.size()) {
        return false;
    }
    elements[index - 1] = value;
    return Write(key, JoinArray(elements));
}

std::vector<std::string> CDeviceModel::SplitArray(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> elements;
    for (std::string element; stream >> element;) {
        elements.push_back(std::move(element));
    }
    return elements;
}

std::string CDeviceModel::JoinArray(const std::vector<std::string>& elements) {
    std::string text;
    for (const std::string& element : elements) {
        if (!text.empty()) {
            text += ' ';
        }
        text += element;
    }
    return text;
}
