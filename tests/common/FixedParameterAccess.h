#pragma once

#include "com/ComObject.h"
#include "fdt/DtmInterfaces.h"

#include <cstdint>
#include <string>

// A DTM that describes every parameter with the same control data document. The kind it
// names is `kind`, or, when that is negative, the parameter key itself (so a caller picks
// the kind through the key). Every other operation is not implemented.
class CFixedParameterAccess : public ComObject<IDtmParameterAccess> {
public:
    explicit CFixedParameterAccess(std::string document, std::int32_t kind = -1)
        : m_document(std::move(document)), m_kind(kind) {}

    HRESULT GetControlData(std::int32_t, std::uint32_t parameterKey, std::int32_t* kind,
                           std::string* controlData) override {
        *kind = m_kind >= 0 ? m_kind : static_cast<std::int32_t>(parameterKey);
        *controlData = m_document;
        return S_OK;
    }
    HRESULT SetParameterValue(std::int32_t, std::uint32_t, const std::string&,
                              std::string*) override {
        return E_NOTIMPL;
    }
    HRESULT ExecuteFunction(std::int32_t, std::int32_t, const std::string&,
                            VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT OpenContext(const std::string&, std::int32_t*) override { return E_NOTIMPL; }

private:
    std::string m_document;
    std::int32_t m_kind;
};
