#pragma once

#include "com/Guid.h"
#include "com/HResult.h"

#include <cstdint>

// Every interface of the COM-style layer derives from IUnknown and declares its id as
// `static constexpr IID Iid`. An interface that extends another one says so with
// `using Base = IOther;`, so that an object answers queries for both.
class IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{00000000-0000-0000-C000-000000000046}");

    virtual ~IUnknown() = default;
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
};

template <class T> constexpr const IID& IidOf() {
    return T::Iid;
}
