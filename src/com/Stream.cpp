#include "com/Stream.h"

#include <algorithm>
#include <cstring>

HRESULT MemoryStream::Read(void* buffer, std::uint32_t count, std::uint32_t* read) {
    if (buffer == nullptr && count > 0) {
        return E_POINTER;
    }
    const std::uint64_t available = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, available));
    if (n > 0) {
        std::memcpy(buffer, m_bytes.data() + m_position, n);
    }
    m_position += n;
    if (read) {
        *read = n;
    }
    return n == count ? S_OK : S_FALSE;
}

HRESULT MemoryStream::Write(const void* buffer, std::uint32_t count, std::uint32_t* written) {
    if (buffer == nullptr && count > 0) {
        return E_POINTER;
    }
    try {
        if (m_position + count > m_bytes.size()) {
            m_bytes.resize(m_position + count);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (count > 0) {
        std::memcpy(m_bytes.data() + m_position, buffer, count);
    }
    m_position += count;
    if (written) {
        *written = count;
    }
    return S_OK;
}

HRESULT MemoryStream::Seek(std::int64_t move, SeekOrigin origin, std::uint64_t* position) {
    std::int64_t base = 0;
    switch (origin) {
    case SeekOrigin::Begin:
        base = 0;
        break;
    case SeekOrigin::Current:
        base = static_cast<std::int64_t>(m_position);
        break;
    case SeekOrigin::End:
        base = static_cast<std::int64_t>(m_bytes.size());
        break;
    }
    if (base + move < 0) {
        return E_INVALIDARG;
    }
    m_position = static_cast<std::uint64_t>(base + move);
    if (position) {
        *position = m_position;
    }
    return S_OK;
}

HRESULT MemoryStream::GetSize(std::uint64_t* size) {
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = m_bytes.size();
    return S_OK;
}
