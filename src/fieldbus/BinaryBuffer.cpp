#include "fieldbus/BinaryBuffer.h"

#include "model/Conversions.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

constexpr std::int32_t kInt24Max = 8388607;
constexpr std::int32_t kInt24Min = -8388608;
constexpr std::uint32_t kUInt24Max = 16777215;
constexpr std::uint32_t kInt24Modulus = 16777216;

// The buffer's out-of-memory error: a std::bad_alloc that says where it happened.
class CNoMemoryError : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "No memory at CBinaryBuffer::EnsureSize"; }
};

[[noreturn]] void ThrowReadOutOfRange() {
    throw std::out_of_range("Invalid index at CBinaryBuffer::Read");
}

} // namespace

CBinaryBuffer::CBinaryBuffer(std::size_t capacity) {
    EnsureSize(capacity);
}

CBinaryBuffer::CBinaryBuffer(const std::uint8_t* bytes, std::size_t length) {
    Write(bytes, length, 0);
}

std::uint8_t& CBinaryBuffer::At(std::size_t index) {
    CheckIndex(index);
    return m_data[index];
}

std::uint8_t CBinaryBuffer::At(std::size_t index) const {
    CheckIndex(index);
    return m_data[index];
}

void CBinaryBuffer::CheckIndex(std::size_t index) const {
    if (index >= m_size) {
        throw std::invalid_argument("Invalid index at CBinaryBuffer::operator[]");
    }
}

bool operator==(const CBinaryBuffer& left, const CBinaryBuffer& right) {
    return left.m_size == right.m_size &&
           std::equal(left.m_data.begin(), left.m_data.begin() + left.m_size, right.m_data.begin());
}

void CBinaryBuffer::Write(const std::uint8_t* bytes, std::size_t length, std::size_t offset) {
    if (length == 0) {
        return;
    }
    if (bytes == nullptr) {
        throw std::invalid_argument("No bytes at CBinaryBuffer::Write");
    }
    if (length > std::numeric_limits<std::size_t>::max() - offset) {
        throw std::out_of_range("Invalid index at CBinaryBuffer::Write");
    }
    const std::size_t end = offset + length;
    if (end > Capacity()) {
        // Doubling keeps a run of appends linear.
        EnsureSize(std::max(end, std::min(2 * Capacity(), m_data.max_size())));
    }
    std::copy(bytes, bytes + length, m_data.begin() + offset);
    m_size = std::max(m_size, end);
}

std::size_t CBinaryBuffer::Read(std::uint8_t* destination, std::size_t length,
                                std::size_t offset) const {
    if (offset >= m_size) {
        ThrowReadOutOfRange();
    }
    const std::size_t count = std::min(length, m_size - offset);
    if (count > 0 && destination == nullptr) {
        throw std::invalid_argument("No destination at CBinaryBuffer::Read");
    }
    std::copy_n(m_data.begin() + offset, count, destination);
    return count;
}

void CBinaryBuffer::Set(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) {
        Clear();
        return;
    }
    CBinaryBuffer replacement(bytes, length);
    replacement.m_byteOrder = m_byteOrder;
    *this = std::move(replacement);
}

void CBinaryBuffer::Clear() {
    std::fill(m_data.begin(), m_data.end(), 0);
    m_size = 0;
}

void CBinaryBuffer::Release() {
    m_data = {};
    m_size = 0;
}

void CBinaryBuffer::EnsureSize(std::size_t size) {
    if (size <= Capacity()) {
        return;
    }
    try {
        m_data.resize(size); // the new bytes are zero
    } catch (const std::bad_alloc&) {
        throw CNoMemoryError();
    } catch (const std::length_error&) {
        throw CNoMemoryError();
    }
}

std::uint64_t CBinaryBuffer::ReadRaw(std::size_t offset, std::size_t width) const {
    std::uint8_t bytes[8] = {};
    if (Read(bytes, width, offset) != width) {
        ThrowReadOutOfRange(); // a value cut off by the end of the buffer is not a value
    }
    if (m_byteOrder == 1) {
        std::reverse(bytes, bytes + width);
    }
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | bytes[i];
    }
    return value;
}

void CBinaryBuffer::WriteRaw(std::uint64_t value, std::size_t width, std::size_t offset) {
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < width; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    if (m_byteOrder == 1) {
        std::reverse(bytes, bytes + width);
    }
    Write(bytes, width, offset);
}

std::uint32_t CBinaryBuffer::ReadUInt24(std::size_t offset) const {
    return static_cast<std::uint32_t>(ReadRaw(offset, 3));
}

std::int32_t CBinaryBuffer::ReadInt24(std::size_t offset) const {
    const auto raw = static_cast<std::int32_t>(ReadRaw(offset, 3));
    return raw > kInt24Max ? raw - static_cast<std::int32_t>(kInt24Modulus) : raw;
}

std::uint32_t CBinaryBuffer::CheckedUInt24(std::uint32_t value, const char* article) {
    if (value > kUInt24Max) {
        throw std::range_error(std::string("Value is too large for ") + article + "UInt24");
    }
    return value;
}

std::uint32_t CBinaryBuffer::CheckedInt24(std::int32_t value, const char* article) {
    if (value > kInt24Max) {
        throw std::range_error(std::string("Value is too large for ") + article + "Int24");
    }
    if (value < kInt24Min) {
        throw std::range_error(std::string("Value is too small for ") + article + "Int24");
    }
    return static_cast<std::uint32_t>(value < 0 ? value + kInt24Modulus : value);
}

void CBinaryBuffer::WriteUInt24(std::uint32_t value, std::size_t offset) {
    WriteRaw(CheckedUInt24(value, ""), 3, offset);
}

void CBinaryBuffer::WriteInt24(std::int32_t value, std::size_t offset) {
    WriteRaw(CheckedInt24(value, ""), 3, offset);
}

std::size_t CBinaryBuffer::AppendUInt24(std::uint32_t value) {
    const std::size_t offset = m_size;
    WriteRaw(CheckedUInt24(value, "an "), 3, offset);
    return offset;
}

std::size_t CBinaryBuffer::AppendInt24(std::int32_t value) {
    const std::size_t offset = m_size;
    WriteRaw(CheckedInt24(value, "an "), 3, offset);
    return offset;
}

std::string CBinaryBuffer::ToHexText() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * m_size);
    for (std::size_t i = 0; i < m_size; ++i) {
        text += kDigits[m_data[i] >> 4];
        text += kDigits[m_data[i] & 0x0F];
    }
    return text;
}

CBinaryBuffer CBinaryBuffer::FromHexText(std::string_view text) {
    const std::vector<std::uint8_t> bytes = CConversions::to_byte_array(text);
    return CBinaryBuffer(bytes.data(), bytes.size());
}
