#include "model/AlarmInformation.h"

#include "model/Conversions.h"
#include "xml/Xml.h"

#include <exception>
#include <utility>

namespace {

// Reads the Alarm children of the first `rootName` element into `texts`; the alarms whose id
// is not an unsigned decimal number are left out and named in `skipped`.
void ReadAlarms(const xml::Document& document, const char* rootName,
                CAlarmInformationBase::AlarmTexts& texts, std::string& skipped) {
    const xml::Node information = document.SelectSingle(std::string("//") + rootName);
    if (!information) {
        return;
    }
    for (const xml::Node& alarm : information.SelectAll("Alarm")) {
        const std::string idText = alarm.Attribute("./@id");
        std::uint32_t id = 0;
        try {
            id = CConversions::to_uint32(idText);
        } catch (const std::exception& e) {
            skipped += (skipped.empty() ? "" : ", ") + ("id '" + idText + "' (" + e.what() + ")");
            continue;
        }
        texts.insert_or_assign(
            id, SAlarmText{.id = id,
                           .shortDescription = alarm.Attribute("./@shortDescription"),
                           .faultDescription = alarm.Attribute("./@faultDescription"),
                           .consequences = alarm.Attribute("./@consequences")});
    }
}

bool Fail(std::string* error, std::string reason) {
    if (error != nullptr) {
        *error = std::move(reason);
    }
    return false;
}

} // namespace

bool CAlarmInformationBase::Load(const DtmValueQuery& dtmValue, const Reporter& report,
                                 std::string* error) {
    m_texts.clear();
    const std::string path = dtmValue ? dtmValue(m_pathValueName) : std::string();
    return LoadFile(path, report, error);
}

bool CAlarmInformationBase::LoadFile(const std::string& path, const Reporter& report,
                                     std::string* error) {
    m_texts.clear();
    if (path.empty()) {
        return Fail(error, std::string("No file is named by ") + m_pathValueName);
    }
    xml::Document document;
    try {
        document = xml::Document::ParseFile(path);
    } catch (const std::exception& e) {
        // Not only XmlError: reading a folder fails in the standard library's stream.
        return Fail(error, std::string(m_rootName) + " file not loaded: " + e.what());
    }
    Read(document, report);
    return true;
}

bool CAlarmInformationBase::LoadText(std::string_view text, const Reporter& report,
                                     std::string* error) {
    m_texts.clear();
    std::string reason;
    const xml::Document document = xml::Document::TryParse(text, &reason);
    if (!document) {
        return Fail(error, std::string(m_rootName) + " text not loaded: " + reason);
    }
    Read(document, report);
    return true;
}

void CAlarmInformationBase::Read(const xml::Document& document, const Reporter& report) {
    std::string skipped;
    ReadAlarms(document, m_rootName, m_texts, skipped);
    if (!skipped.empty() && report) {
        report(std::string(m_rootName) +
               ": alarms skipped, their id is not an unsigned decimal number: " + skipped);
    }
}

const SAlarmText* CAlarmInformationBase::Find(std::uint32_t id) const {
    const auto found = m_texts.find(id);
    return found != m_texts.end() ? &found->second : nullptr;
}

std::uint32_t CAlarmInformationBase::FindId(std::string_view shortDescription) const {
    for (const auto& [id, text] : m_texts) {
        if (text.shortDescription == shortDescription) {
            return id;
        }
    }
    return 0;
}
