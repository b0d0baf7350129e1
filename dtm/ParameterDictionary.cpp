#include "dtm/ParameterDictionary.h"

#include "xml/Xml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

using Definitions = std::map<std::uint32_t, SParameterDefinition>;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

std::string KeyText(std::uint32_t key) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", key);
    return text;
}

// The whole text as a number, or nothing.
template <class T> std::optional<T> ParseNumber(std::string_view text, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<T>) {
        result = std::from_chars(text.data(), end, value);
    } else {
        result = std::from_chars(text.data(), end, value, base);
    }
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t ReadKey(const xml::Node& element) {
    const std::string text = element.Attribute("@key");
    const bool prefixed = text.starts_with("0x") || text.starts_with("0X");
    const auto key =
        prefixed ? ParseNumber<std::uint32_t>(std::string_view(text).substr(2), 16) : std::nullopt;
    if (!key) {
        Fail(element.Name(), "the key \"" + text + "\" is not a hexadecimal number with 0x");
    }
    return *key;
}

constexpr std::pair<std::string_view, EDescriptorKind> kKinds[] = {
    {"numeric", EDescriptorKind::Numeric},
    {"string", EDescriptorKind::String},
    {"enumeration", EDescriptorKind::Enumeration},
    {"bitEnumeration", EDescriptorKind::BitEnumeration},
    {"dateOrTime", EDescriptorKind::DateOrTime},
    {"valueArray", EDescriptorKind::ValueArray},
};

EDescriptorKind ReadKind(const std::string& text, const std::string& where) {
    const auto it =
        std::ranges::find(kKinds, text, &std::pair<std::string_view, EDescriptorKind>::first);
    if (it == std::end(kKinds)) {
        Fail(where, "unknown kind \"" + text + "\"");
    }
    return it->second;
}

// The Choice or Bit children: their number attribute, text attribute and help.
std::vector<SNamedNumber> ReadEntries(const xml::Node& parameter, const char* child,
                                      const char* numberName, const char* textName,
                                      const std::string& where) {
    std::vector<SNamedNumber> entries;
    for (const xml::Node& entry : parameter.SelectAll(child)) {
        const std::string number = entry.Attribute(std::string("@") + numberName);
        const auto value = ParseNumber<std::uint32_t>(number);
        if (!value) {
            Fail(where, std::string(child) + " " + numberName + " \"" + number +
                            "\" is not an unsigned decimal number");
        }
        entries.push_back(
            {*value, entry.Attribute(std::string("@") + textName), entry.Attribute("@help")});
    }
    return entries;
}

std::optional<SValidatorRule> ReadValidator(const xml::Node& parameter) {
    const xml::Node rule = parameter.SelectSingle("Validator");
    if (!rule) {
        return std::nullopt;
    }
    return SValidatorRule{rule.Attribute("@type"), rule.Attribute("@min"), rule.Attribute("@max"),
                          rule.Attribute("@step")};
}

// The attributes every parameter and record has.
SParameterDefinition ReadCommon(const xml::Node& element, std::uint32_t key,
                                const char* defaultParameterType) {
    SParameterDefinition definition;
    definition.key = key;
    definition.name = element.Attribute("@name");
    definition.label = element.Attribute("@label");
    definition.help = element.Attribute("@help");
    definition.parameterType = element.Attribute("@parameterType", defaultParameterType);
    return definition;
}

// What only some kinds read.
void ReadKindPart(const xml::Node& element, SParameterDefinition& definition,
                  const std::string& where) {
    switch (definition.kind) {
    case EDescriptorKind::String: {
        const auto length = ParseNumber<int>(element.Attribute("@stringLength"));
        if (!length || *length < 0) {
            Fail(where, "a string needs a stringLength");
        }
        definition.stringLength = *length;
        break;
    }
    case EDescriptorKind::Enumeration:
        definition.entries = ReadEntries(element, "Choice", "tag", "caption", where);
        break;
    case EDescriptorKind::BitEnumeration:
        definition.entries = ReadEntries(element, "Bit", "value", "label", where);
        break;
    default:
        break;
    }
}

SParameterDefinition ReadParameter(const xml::Node& element, std::uint32_t key) {
    const std::string where = "Parameter " + KeyText(key);
    SParameterDefinition definition = ReadCommon(element, key, "EPrimitive");
    definition.kind = ReadKind(element.Attribute("@kind"), where);
    definition.valueType = element.Attribute("@valueType");
    if (definition.valueType.empty()) {
        Fail(where, "the valueType is missing");
    }
    definition.unit = element.Attribute("@unit");
    definition.min = element.Attribute("@min");
    definition.max = element.Attribute("@max");
    definition.elementType = element.Attribute("@elementType");
    definition.defaultValue = element.Attribute("@default");
    definition.validator = ReadValidator(element);
    const std::string access = element.Attribute("@access", "readWrite");
    if (access != "read" && access != "readWrite") {
        Fail(where, "unknown access \"" + access + "\"");
    }
    definition.readOnly = access == "read";
    ReadKindPart(element, definition, where);
    return definition;
}

void Insert(Definitions& definitions, SParameterDefinition definition) {
    const std::uint32_t key = definition.key;
    if (!definitions.emplace(key, std::move(definition)).second) {
        Fail("Parameter " + KeyText(key), "the key appears twice");
    }
}

// A record and its elements, which must be numbered 1, 2, ... in document order.
void ReadRecord(const xml::Node& element, Definitions& definitions) {
    const std::uint32_t key = ReadKey(element);
    const std::string where = "Record " + KeyText(key);
    if ((key & 0xFFFFu) != 0) {
        Fail(where, "a record is named by its element 0");
    }
    SParameterDefinition record = ReadCommon(element, key, "EValueStruct");
    record.kind = EDescriptorKind::Record;
    record.valueType = "EUnknownValueType";
    for (const xml::Node& child : element.SelectAll("Parameter")) {
        const std::uint32_t elementKey = ReadKey(child);
        if (elementKey != key + record.elements.size() + 1) {
            Fail(where, "element " + KeyText(elementKey) + " is out of order");
        }
        record.elements.push_back(elementKey);
        Insert(definitions, ReadParameter(child, elementKey));
    }
    if (record.elements.empty()) {
        Fail(where, "a record has elements");
    }
    Insert(definitions, std::move(record));
}

Definitions ReadDictionary(const xml::Document& document) {
    const xml::Node root = document.Root();
    if (root.Name() != "ParameterDictionary") {
        Fail(root.Name(), "the dictionary's root is ParameterDictionary");
    }
    Definitions definitions;
    for (const xml::Node& element : root.Children()) {
        if (element.Name() == "Record") {
            ReadRecord(element, definitions);
        } else if (element.Name() == "Parameter") {
            Insert(definitions, ReadParameter(element, ReadKey(element)));
        } else {
            Fail(element.Name(), "unknown element in the dictionary");
        }
    }
    return definitions;
}

std::string CheckNumber(std::string_view value, const std::string& min, const std::string& max) {
    const auto number = ParseNumber<double>(value);
    if (!number || !std::isfinite(*number)) {
        return "Value \"" + std::string(value) + "\" is not a number";
    }
    const auto low = ParseNumber<double>(min);
    const auto high = ParseNumber<double>(max);
    if ((low && *number < *low) || (high && *number > *high)) {
        return "Value must be within " + min + " and " + max;
    }
    return {};
}

// The characters of a UTF-8 text: every byte that does not continue a character.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }));
}

} // namespace

std::string SParameterDefinition::CheckValue(std::string_view value) const {
    switch (kind) {
    case EDescriptorKind::Record:
        return "A record is written element by element";
    case EDescriptorKind::Numeric:
        return CheckNumber(value, min, max);
    case EDescriptorKind::Enumeration: {
        const auto tag = ParseNumber<std::uint32_t>(value);
        const bool known = tag && std::ranges::any_of(entries, [&](const SNamedNumber& choice) {
                               return choice.number == *tag;
                           });
        return known ? std::string() : "Value \"" + std::string(value) + "\" is not a choice";
    }
    case EDescriptorKind::BitEnumeration: {
        std::uint32_t allowed = 0;
        for (const SNamedNumber& bit : entries) {
            allowed |= bit.number;
        }
        const auto bits = ParseNumber<std::uint32_t>(value);
        return bits && (*bits & ~allowed) == 0
                   ? std::string()
                   : "Value \"" + std::string(value) + "\" is not a combination of the bits";
    }
    case EDescriptorKind::String:
        return CharacterCount(value) <= static_cast<std::size_t>(stringLength)
                   ? std::string()
                   : "Text is longer than " + std::to_string(stringLength) + " characters";
    default:
        return {};
    }
}

CParameterDictionary CParameterDictionary::Load(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw std::runtime_error("cannot read the parameter dictionary " + file.string());
    }
    const std::string text((std::istreambuf_iterator<char>(stream)),
                           std::istreambuf_iterator<char>());
    try {
        return Parse(text);
    } catch (const std::exception& error) {
        throw std::runtime_error(file.string() + ": " + error.what());
    }
}

CParameterDictionary CParameterDictionary::Parse(std::string_view text) {
    return CParameterDictionary(ReadDictionary(xml::Document::Parse(text)));
}

const SParameterDefinition* CParameterDictionary::Find(std::uint32_t key) const {
    const auto it = m_parameters.find(key);
    return it != m_parameters.end() ? &it->second : nullptr;
}

std::vector<std::uint32_t> CParameterDictionary::Keys() const {
    std::vector<std::uint32_t> keys;
    for (const auto& entry : m_parameters) {
        keys.push_back(entry.first);
    }
    return keys;
}

std::vector<std::uint32_t> CParameterDictionary::ValueKeys(std::uint32_t key) const {
    const SParameterDefinition* definition = Find(key);
    if (definition == nullptr) {
        return {};
    }
    if (definition->kind == EDescriptorKind::Record) {
        return definition->elements;
    }
    return {key};
}
