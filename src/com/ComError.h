#pragma once

#include "com/Guid.h"
#include "com/HResult.h"

#include <stdexcept>
#include <string>

// A failed call on a COM-style interface: the HRESULT it answered and the interface id.
class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const IID& iid, const std::string& operation = {});

    HRESULT Result() const { return m_hr; }
    const IID& Interface() const { return m_iid; }

private:
    HRESULT m_hr;
    IID m_iid;
};

// Throws ComError when `hr` is a failure.
inline void ThrowIfFailed(HRESULT hr, const IID& iid, const char* operation = "") {
    if (FAILED(hr)) {
        throw ComError(hr, iid, operation);
    }
}
