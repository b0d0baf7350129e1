#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The kind of descriptor the control builds for a parameter; the numbers are those
// GetControlData answers. A whole record has no descriptor of its own.
enum class EDescriptorKind : std::int32_t {
    Numeric = 0,
    String = 1,
    Enumeration = 2,
    BitEnumeration = 3,
    Record = 4,
    DateOrTime = 6,
    ValueArray = 7,
};

// A choice of an enumeration (number = tag, text = caption) or a bit of a bit enumeration
// (number = mask, text = label).
struct SNamedNumber {
    std::uint32_t number = 0;
    std::string text;
    std::string help;
};

// The input rule the control checks before a value leaves it.
struct SValidatorRule {
    std::string type; // "numericRange" or "numericRange_double"
    std::string min;
    std::string max;
    std::string step;
};

// One device parameter as the dictionary describes it. Keys are block << 24 | relative
// index << 16 | element; a record is named by its element 0 and its elements follow as
// key + 1 .. key + n.
struct SParameterDefinition {
    std::uint32_t key = 0;
    std::string name;
    std::string label;
    std::string help; // the tooltip
    std::string unit;
    EDescriptorKind kind = EDescriptorKind::Numeric;
    std::string valueType;     // as written into control data ("EUInt8", "EFloat", ...)
    std::string parameterType; // "EPrimitive", "EValueStruct", ...
    std::string min;           // numeric limits, as text
    std::string max;
    int stringLength = 0;              // strings
    std::vector<SNamedNumber> entries; // choices or bits
    std::string elementType;           // value arrays
    std::optional<SValidatorRule> validator;
    std::string defaultValue;            // value arrays: element values separated by spaces
    std::vector<std::uint32_t> elements; // a record's element keys, in order
    // The device's own value (a status, a measurement, a counter): a write from the bus is
    // undone, the device keeps its value.
    bool readOnly = false;

    // Empty when `value` suits this parameter, otherwise the reason: a number outside the
    // limits or not a number at all, a tag that is not a choice, a number with a bit that is
    // not one of a bit enumeration's, a text longer than its string length (in characters),
    // a whole record.
    std::string CheckValue(std::string_view value) const;
};

// The parameters of the simulated positioner, read from the dictionary file
// (ParameterDictionary element):
//
//   <Parameter key="0x01290000" name="..." label="..." kind="enumeration"
//              valueType="EEnum8" parameterType="EPrimitive" unit="" min="" max=""
//              stringLength="" elementType="" default="240" access="read" help="...">
//     <Choice tag="240" caption="In service" help="..."/>      (enumeration)
//     <Bit value="1" label="..." help="..."/>                   (bitEnumeration)
//     <Validator type="numericRange" min="0" max="255" step=""/>
//   </Parameter>
//   <Record key="0x015B0000" name="..." label="..." help="..." parameterType="EValueStruct">
//     <Parameter key="0x015B0001" .../>   elements 1..n, in order
//   </Record>
//
// Keys are hexadecimal with "0x"; kinds are "numeric", "string", "enumeration",
// "bitEnumeration", "dateOrTime" and "valueArray"; parameterType defaults to "EPrimitive"
// ("EValueStruct" for a record); access is "read" for a read-only parameter, "readWrite"
// (the default) otherwise. Every key appears once.
class CParameterDictionary {
public:
    // Both raise std::runtime_error naming the file or the parameter and what is wrong.
    static CParameterDictionary Load(const std::filesystem::path& file);
    static CParameterDictionary Parse(std::string_view text);

    const SParameterDefinition* Find(std::uint32_t key) const;
    // Every key, records and their elements included, in rising order.
    std::vector<std::uint32_t> Keys() const;
    // The keys that hold values for `key`: a record's elements, otherwise the key itself.
    std::vector<std::uint32_t> ValueKeys(std::uint32_t key) const;

private:
    using Definitions = std::map<std::uint32_t, SParameterDefinition>;
    explicit CParameterDictionary(Definitions parameters) : m_parameters(std::move(parameters)) {}

    Definitions m_parameters;
};
