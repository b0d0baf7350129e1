#pragma once

#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"
#include "model/ParameterDescription.h"

#include <cstdint>
#include <string>

namespace xml {
class Document;
class Node;
} // namespace xml

class CElementAttributes;

// What the DTM answers for one parameter: the kind of descriptor to build and the document.
struct SControlData {
    std::int32_t kind = 0;
    std::string document;
};

// Asks the DTM for a parameter's control data; a failure raises ComError with the DTM's
// HRESULT and the id of IDtmParameterAccess.
SControlData FetchControlData(IDtmParameterAccess& access, std::int32_t request,
                              std::uint32_t parameterKey);

// The fields every descriptor reads from its control data document.
struct SCommonFields {
    std::string label;
    std::string tooltip;
    std::string value;
    std::string unit;
    std::string name;
    EValueType valueType = EValueType::eUnknownValueType;
    eParameterType parameterType = eParameterType::eUnspecifiedParameterType;
    STimestamp timestamp;
};

// The part of a descriptor common to all kinds. A document is read as a whole: when any of
// it fails (unknown keyword, unparsable number), the exception leaves the descriptor as it
// was; a document that does not load or has no ControlData element is ignored.
class CParameterDescriptor : public IParameterDescription {
public:
    CParameterDescriptor(const CParameterDescriptor&) = delete;
    CParameterDescriptor& operator=(const CParameterDescriptor&) = delete;

    const std::string& GetLabel() const override { return m_common.label; }
    const std::string& GetTooltip() const override { return m_common.tooltip; }
    const std::string& GetValue() const override { return m_common.value; }
    const std::string& GetUnit() const override { return m_common.unit; }
    const std::string& GetName() const override { return m_common.name; }
    EValueType GetValueType() const override { return m_common.valueType; }
    eParameterType GetParameterType() const override { return m_common.parameterType; }
    void Update(std::int32_t request) override;
    const STimestamp* GetTimestamp() const override { return &m_common.timestamp; }

protected:
    CParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey);

    // Reads `document` into this object. Each kind's constructor calls it once.
    void Load(const xml::Document& document);

    // Reads the kind's own part of a control data document; `attributes` are those of its
    // ControlData element, `common` what the document says of the common fields (not yet
    // stored). Must parse everything before it changes this object.
    virtual void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                          const SCommonFields& common) = 0;

private:
    ComPtr<IDtmParameterAccess> m_access;
    std::uint32_t m_parameterKey;
    SCommonFields m_common;
};

// The first ControlData element of a document (the root, as a rule); null when there is none.
xml::Node FindControlData(const xml::Document& document);
