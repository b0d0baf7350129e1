#pragma once

#include "fieldbus/EnumeratorEntry.h"

#include <cstdint>
#include <string>

// The error part of an FMS service error: class and code, an optional additional code and
// description, and the names and descriptors of class and code when they are known.
class CErrorInfo {
public:
    std::int8_t GetErrorClass() const { return m_errorClass; }
    void SetErrorClass(std::int8_t errorClass) { m_errorClass = errorClass; }
    std::int8_t GetErrorCode() const { return m_errorCode; }
    void SetErrorCode(std::int8_t errorCode) { m_errorCode = errorCode; }

    bool HasAdditionalCode() const { return m_hasAdditionalCode; }
    std::int16_t GetAdditionalCode() const { return m_additionalCode; }
    void SetAdditionalCode(std::int16_t additionalCode) {
        m_additionalCode = additionalCode;
        m_hasAdditionalCode = true;
    }

    bool HasAdditionalDescription() const { return !m_additionalDescription.empty(); }
    const std::string& GetAdditionalDescription() const { return m_additionalDescription; }
    void SetAdditionalDescription(std::string description) {
        m_additionalDescription = std::move(description);
    }

    // Class and code entries are set together; from then on the record has a description.
    bool HasErrorDescription() const { return m_hasErrorDescription; }
    const CEnumeratorEntry& GetErrorClassEntry() const { return m_errorClassEntry; }
    const CEnumeratorEntry& GetErrorCodeEntry() const { return m_errorCodeEntry; }
    void SetErrorDescription(CEnumeratorEntry classEntry, CEnumeratorEntry codeEntry) {
        m_errorClassEntry = std::move(classEntry);
        m_errorCodeEntry = std::move(codeEntry);
        m_hasErrorDescription = true;
    }

private:
    std::int8_t m_errorClass = 0;
    std::int8_t m_errorCode = 0;
    std::int16_t m_additionalCode = 0;
    bool m_hasAdditionalCode = false;
    std::string m_additionalDescription;
    CEnumeratorEntry m_errorClassEntry;
    CEnumeratorEntry m_errorCodeEntry;
    bool m_hasErrorDescription = false;
};
