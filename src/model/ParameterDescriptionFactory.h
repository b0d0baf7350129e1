#pragma once

#include "com/ComPtr.h"
#include "model/DirectParameterAccess.h"
#include "model/ParameterDescriptor.h"

#include <map>
#include <memory>

// Builds the descriptor of a parameter from the control data the DTM gives for it, of the
// kind the DTM names, and keeps it: a later request for the same key re-reads the document
// into the same object, so pointers handed out stay valid. A kind without a descriptor is
// cached as null. The factory owns every descriptor it made.
//
// Kinds: 0 numeric, 1 string, 2 enumeration, 3 bit enumeration, 4 and 5 none, 6 a date or
// time chosen by the document's value type, 7 FF value array; any other number none.
class CParameterDescriptionFactory final : public IDirectParameterAccess {
public:
    explicit CParameterDescriptionFactory(ComPtr<IDtmParameterAccess> access);

    // Raises ComError when the DTM call fails and the read errors of a document that says
    // something unreadable (unknown keyword, unparsable number); nothing is cached then.
    IParameterDescription* GetParameterDescription(std::int32_t request,
                                                   std::uint32_t parameterKey) override;

private:
    std::unique_ptr<CParameterDescriptor> Build(std::uint32_t parameterKey,
                                                const SControlData& reply) const;

    ComPtr<IDtmParameterAccess> m_access;
    std::map<std::uint32_t, std::unique_ptr<CParameterDescriptor>> m_cache;
};
