#pragma once

#include "com/ComObject.h"

#include <cstdint>
#include <vector>

// A byte stream in the manner of IStream: sequential reads and writes at a seek position.
class IStream : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{0000000C-0000-0000-C000-000000000046}");
    enum class SeekOrigin { Begin, Current, End };

    // Reads up to `count` bytes; `read` (optional) receives how many. S_FALSE when fewer
    // than asked were available.
    virtual HRESULT Read(void* buffer, std::uint32_t count, std::uint32_t* read) = 0;
    virtual HRESULT Write(const void* buffer, std::uint32_t count, std::uint32_t* written) = 0;
    // Moves the position; a position before the start is E_INVALIDARG.
    virtual HRESULT Seek(std::int64_t move, SeekOrigin origin, std::uint64_t* position) = 0;
    virtual HRESULT GetSize(std::uint64_t* size) = 0;
};

// A stream over a growable block of memory.
class MemoryStream : public ComObject<IStream> {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    HRESULT Read(void* buffer, std::uint32_t count, std::uint32_t* read) override;
    HRESULT Write(const void* buffer, std::uint32_t count, std::uint32_t* written) override;
    HRESULT Seek(std::int64_t move, SeekOrigin origin, std::uint64_t* position) override;
    HRESULT GetSize(std::uint64_t* size) override;

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};
