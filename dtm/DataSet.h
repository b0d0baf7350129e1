#pragma once

#include <cstdint>
#include <map>
#include <string>

class CParameterDictionary;

// The DTM's copy of one parameter: its value as text, when it last came from the device or
// changed ("YYYY" "MMDD" "hhmm" "sscc", UTC, sixteen digits in four groups of four), and
// whether it changed since (a value set but not yet written to the device).
struct SDataSetEntry {
    std::string value;
    std::string timestamp;
    bool modified = false;
};

// The DTM's copy of the device parameters: what control data documents report. Reads from
// the device refresh it; SetParameterValue changes it until a write takes it to the device.
class CDataSet {
public:
    // Every key of the dictionary, records included, with its default value.
    explicit CDataSet(const CParameterDictionary& dictionary);

    const SDataSetEntry* Find(std::uint32_t key) const;
    // A value read from the device: no longer modified.
    void Receive(std::uint32_t key, std::string value);
    // A value set by the user interface: modified until written.
    void Change(std::uint32_t key, std::string value);
    // The value went to the device: no longer modified.
    void MarkWritten(std::uint32_t key);

private:
    SDataSetEntry* Entry(std::uint32_t key);

    std::map<std::uint32_t, SDataSetEntry> m_entries;
};

// The time stamp of the current moment, in the form of SDataSetEntry::timestamp.
std::string CurrentTimestamp();
