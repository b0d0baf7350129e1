#pragma once

#include <string>

struct SParameterDefinition;
struct SDataSetEntry;

// The control data document of a parameter holding the DTM's copy `entry`: a ControlData
// element with the parameter's label, unit, name, value, tooltip, time stamp, parameter and
// value type and the state flags enabled, available and modified; numeric limits, string
// length, choices (ChoiceCollection), bits (BitEnumeratorList) or array elements
// (FFValueArray, one ArrayElement per space-separated value) as the kind needs; and the
// parameter's Validator.
std::string WriteControlData(const SParameterDefinition& definition, const SDataSetEntry& entry);
