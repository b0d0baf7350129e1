#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace xml {
class Document;
}

// The texts of one alarm number: its name, the description of the fault and the
// recommendation.
struct SAlarmText {
    std::uint32_t id = 0;
    std::string shortDescription;
    std::string faultDescription;
    std::string consequences;
};

// The texts of the positioner's alarms, read from an information file that the DTM names:
//
//   <AlarmInformation>
//     <Alarm id="22" shortDescription="..." faultDescription="..." consequences="..."/>
//   </AlarmInformation>
//
// The first root element (AlarmInformation, or DiagnosticAlarmInformation for the diagnostic
// file) anywhere in the document holds the alarms; its Alarm children are read in document
// order, a later Alarm with the same id replaces an earlier one and a missing text attribute
// reads as the empty text. An Alarm whose id is not an unsigned decimal number is skipped and
// reported, so that one bad entry does not cost the names of all the others.
//
// CAlarmInformation and CDiagnosticAlarmInformation differ only in the root element and in the
// DTM's value that names the file.
class CAlarmInformationBase {
public:
    using AlarmTexts = std::map<std::uint32_t, SAlarmText>;
    // Answers one of the DTM's named values as text, the empty text when it has none.
    using DtmValueQuery = std::function<std::string(const std::string& name)>;
    // Takes the message naming the alarms that a load skipped.
    using Reporter = std::function<void(const std::string& message)>;

    const char* GetRootName() const { return m_rootName; }
    const char* GetPathValueName() const { return m_pathValueName; }

    // Empties the map, asks the DTM for the file's path and loads that file. An exception of
    // the query passes through and leaves the map empty.
    bool Load(const DtmValueQuery& dtmValue, const Reporter& report = {},
              std::string* error = nullptr);
    // Empties the map and reads the file without validation and without loading external
    // resources. A file that cannot be had (no path, missing, not XML) answers false with the
    // reason in `error`; a document without the root element answers true with no alarms.
    // The skipped alarms, if any, are reported once per load through `report`.
    bool LoadFile(const std::string& path, const Reporter& report = {},
                  std::string* error = nullptr);
    // As LoadFile, from the document's text.
    bool LoadText(std::string_view text, const Reporter& report = {}, std::string* error = nullptr);

    // A copy of every alarm's texts, by id.
    AlarmTexts GetTexts() const { return m_texts; }
    // The texts of the alarm; null when the file has no such alarm.
    const SAlarmText* Find(std::uint32_t id) const;
    // The id of the first alarm, in id order, whose name is `shortDescription`; 0 when none.
    std::uint32_t FindId(std::string_view shortDescription) const;
    std::size_t Size() const { return m_texts.size(); }
    void Clear() { m_texts.clear(); }

protected:
    CAlarmInformationBase(const char* rootName, const char* pathValueName)
        : m_rootName(rootName), m_pathValueName(pathValueName) {}
    ~CAlarmInformationBase() = default;
    CAlarmInformationBase(const CAlarmInformationBase&) = default;
    CAlarmInformationBase& operator=(const CAlarmInformationBase&) = default;

private:
    // Reads the alarms of the document into the emptied map and reports the skipped ones.
    void Read(const xml::Document& document, const Reporter& report);

    const char* m_rootName;
    const char* m_pathValueName;
    AlarmTexts m_texts;
};

// The texts of every alarm the positioner reports ("AlarmInformationPath").
class CAlarmInformation final : public CAlarmInformationBase {
public:
    static constexpr const char* RootName = "AlarmInformation";
    static constexpr const char* PathValueName = "AlarmInformationPath";

    CAlarmInformation() : CAlarmInformationBase(RootName, PathValueName) {}
};

// The texts of the diagnostic alarms ("DiagnosticAlarmInformationPath").
class CDiagnosticAlarmInformation final : public CAlarmInformationBase {
public:
    static constexpr const char* RootName = "DiagnosticAlarmInformation";
    static constexpr const char* PathValueName = "DiagnosticAlarmInformationPath";

    CDiagnosticAlarmInformation() : CAlarmInformationBase(RootName, PathValueName) {}
};
