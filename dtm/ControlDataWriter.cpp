#include "dtm/ControlDataWriter.h"

#include "dtm/DataSet.h"
#include "dtm/DeviceModel.h"
#include "dtm/ParameterDictionary.h"
#include "xml/Xml.h"

namespace {

void SetIfGiven(const xml::Node& element, const char* name, const std::string& value) {
    if (!value.empty()) {
        element.SetAttribute(name, value);
    }
}

// A collection element holding one child per choice or bit.
void WriteEntries(const xml::Node& root, const SParameterDefinition& definition,
                  const char* collection, const char* child, const char* textName,
                  const char* numberName) {
    const xml::Node parent = root.AppendChild(collection);
    for (const SNamedNumber& entry : definition.entries) {
        const xml::Node element = parent.AppendChild(child);
        element.SetAttribute(textName, entry.text);
        element.SetAttribute("tooltip", entry.help);
        element.SetAttribute(numberName, std::to_string(entry.number));
    }
}

void WriteArray(const xml::Node& root, const SParameterDefinition& definition,
                const std::string& value) {
    const xml::Node array = root.AppendChild("FFValueArray");
    array.SetAttribute("elementType", definition.elementType);
    array.SetAttribute("valueType", definition.valueType);
    int index = 0;
    for (const std::string& element : CDeviceModel::SplitArray(value)) {
        const xml::Node item = array.AppendChild("ArrayElement");
        item.SetAttribute("index", std::to_string(++index));
        item.SetAttribute("value", element);
        item.SetAttribute("description", "");
    }
}

void WriteKindPart(const xml::Node& root, const SParameterDefinition& definition,
                   const std::string& value) {
    switch (definition.kind) {
    case EDescriptorKind::Numeric:
        SetIfGiven(root, "min", definition.min);
        SetIfGiven(root, "max", definition.max);
        break;
    case EDescriptorKind::String:
        root.SetAttribute("stringLength", std::to_string(definition.stringLength));
        break;
    case EDescriptorKind::Enumeration:
        WriteEntries(root, definition, "ChoiceCollection", "Choice", "caption", "tag");
        break;
    case EDescriptorKind::BitEnumeration:
        WriteEntries(root, definition, "BitEnumeratorList", "BitEnumerator", "label", "value");
        break;
    case EDescriptorKind::ValueArray:
        WriteArray(root, definition, value);
        break;
    default:
        break;
    }
}

void WriteValidator(const xml::Node& root, const SValidatorRule& rule) {
    const xml::Node validator = root.AppendChild("Validator");
    validator.SetAttribute("type", rule.type);
    SetIfGiven(validator, "min", rule.min);
    SetIfGiven(validator, "max", rule.max);
    SetIfGiven(validator, "step", rule.step);
}

} // namespace

std::string WriteControlData(const SParameterDefinition& definition, const SDataSetEntry& entry) {
    const xml::Document document = xml::Document::Create("ControlData");
    const xml::Node root = document.Root();
    root.SetAttribute("label", definition.label);
    root.SetAttribute("unit", definition.unit);
    root.SetAttribute("name", definition.name);
    root.SetAttribute("value", entry.value);
    root.SetAttribute("tooltip", definition.help);
    root.SetAttribute("timestamp", entry.timestamp);
    root.SetAttribute("parameterType", definition.parameterType);
    root.SetAttribute("valueType", definition.valueType);
    root.SetAttribute("enabled", "1");
    root.SetAttribute("available", "1");
    root.SetAttribute("modified", entry.modified ? "1" : "0");
    WriteKindPart(root, definition, entry.value);
    if (definition.validator) {
        WriteValidator(root, *definition.validator);
    }
    return root.ToString();
}
