#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A growable byte buffer with typed reads and writes at offsets, used wherever raw device
// bytes are taken apart or put together. Byte order 1 stores multi-byte values most
// significant byte first (the fieldbus order); any other value stores them least significant
// byte first. Bytes between the size and the capacity are always zero.
class CBinaryBuffer {
public:
    CBinaryBuffer() = default;
    // An empty buffer with `capacity` zero bytes allocated.
    explicit CBinaryBuffer(std::size_t capacity);
    // A buffer holding a copy of `length` bytes.
    CBinaryBuffer(const std::uint8_t* bytes, std::size_t length);

    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_data.size(); }
    // The byte block, or null when none is allocated.
    const std::uint8_t* Data() const { return m_data.empty() ? nullptr : m_data.data(); }

    // The byte at `index`; an index at or past the size is an invalid argument.
    std::uint8_t& At(std::size_t index);
    std::uint8_t At(std::size_t index) const;

    // Equal sizes and equal bytes in use; the capacities do not matter.
    friend bool operator==(const CBinaryBuffer& left, const CBinaryBuffer& right);

    // Copies `length` bytes to `offset`; the buffer grows as needed and the size becomes the
    // larger of the size and offset + length. A gap before `offset` reads as zero bytes.
    void Write(const std::uint8_t* bytes, std::size_t length, std::size_t offset);
    // Copies up to `length` bytes from `offset` and answers how many were copied. An offset
    // at or past the size is an out-of-range error.
    std::size_t Read(std::uint8_t* destination, std::size_t length, std::size_t offset) const;

    // Replaces the content; null bytes or a zero length empty the buffer.
    void Set(const std::uint8_t* bytes, std::size_t length);
    // Zeroes the allocated bytes and sets the size to 0; the block stays allocated.
    void Clear();
    // Frees the block: size and capacity 0.
    void Release();
    // Makes the capacity at least `size`; the new bytes are zero. The size does not change.
    void EnsureSize(std::size_t size);

    void SetByteOrder(int byteOrder) { m_byteOrder = byteOrder; }
    int GetByteOrder() const { return m_byteOrder; }

    // Typed reads of the value at `offset`. A value that does not lie wholly inside the bytes
    // in use is an out-of-range error.
    std::uint8_t ReadUInt8(std::size_t offset) const { return ReadAs<std::uint8_t>(offset); }
    std::int8_t ReadInt8(std::size_t offset) const { return ReadAs<std::int8_t>(offset); }
    std::uint16_t ReadUInt16(std::size_t offset) const { return ReadAs<std::uint16_t>(offset); }
    std::int16_t ReadInt16(std::size_t offset) const { return ReadAs<std::int16_t>(offset); }
    std::uint32_t ReadUInt24(std::size_t offset) const;
    std::int32_t ReadInt24(std::size_t offset) const;
    std::uint32_t ReadUInt32(std::size_t offset) const { return ReadAs<std::uint32_t>(offset); }
    std::int32_t ReadInt32(std::size_t offset) const { return ReadAs<std::int32_t>(offset); }
    float ReadFloat(std::size_t offset) const { return ReadAs<float>(offset); }
    double ReadFloatAsDouble(std::size_t offset) const { return ReadFloat(offset); }
    double ReadDouble(std::size_t offset) const { return ReadAs<double>(offset); }

    // Typed writes at `offset`.
    void WriteUInt8(std::uint8_t value, std::size_t offset) { WriteAs(value, offset); }
    void WriteInt8(std::int8_t value, std::size_t offset) { WriteAs(value, offset); }
    void WriteUInt16(std::uint16_t value, std::size_t offset) { WriteAs(value, offset); }
    void WriteInt16(std::int16_t value, std::size_t offset) { WriteAs(value, offset); }
    // Up to 16777215, else the range error "Value is too large for UInt24".
    void WriteUInt24(std::uint32_t value, std::size_t offset);
    // -8388608 to 8388607, else the range error "Value is too large for Int24" (or "Value is
    // too small for Int24"); a negative value is stored as value + 16777216.
    void WriteInt24(std::int32_t value, std::size_t offset);
    void WriteUInt32(std::uint32_t value, std::size_t offset) { WriteAs(value, offset); }
    void WriteInt32(std::int32_t value, std::size_t offset) { WriteAs(value, offset); }
    void WriteFloat(float value, std::size_t offset) { WriteAs(value, offset); }
    void WriteDouble(double value, std::size_t offset) { WriteAs(value, offset); }

    // The same writes at the end of the bytes in use; each answers the offset written to.
    // The 24-bit forms fail with "Value is too large for an UInt24" / "... for an Int24".
    std::size_t AppendUInt8(std::uint8_t value) { return AppendAs(value); }
    std::size_t AppendInt8(std::int8_t value) { return AppendAs(value); }
    std::size_t AppendUInt16(std::uint16_t value) { return AppendAs(value); }
    std::size_t AppendInt16(std::int16_t value) { return AppendAs(value); }
    std::size_t AppendUInt24(std::uint32_t value);
    std::size_t AppendInt24(std::int32_t value);
    std::size_t AppendUInt32(std::uint32_t value) { return AppendAs(value); }
    std::size_t AppendInt32(std::int32_t value) { return AppendAs(value); }
    std::size_t AppendFloat(float value) { return AppendAs(value); }
    std::size_t AppendDouble(double value) { return AppendAs(value); }

    // The bytes in use as upper-case hexadecimal text, two digits per byte.
    std::string ToHexText() const;
    // A buffer from hexadecimal text; the conversion errors of CConversions::to_byte_array.
    static CBinaryBuffer FromHexText(std::string_view text);

private:
    void CheckIndex(std::size_t index) const;
    // The unsigned integer of `width` bytes at `offset`, in the buffer's byte order.
    std::uint64_t ReadRaw(std::size_t offset, std::size_t width) const;
    void WriteRaw(std::uint64_t value, std::size_t width, std::size_t offset);

    template <class T>
    using RawOf = std::conditional_t<
        sizeof(T) == 8, std::uint64_t,
        std::conditional_t<sizeof(T) == 4, std::uint32_t,
                           std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint8_t>>>;

    template <class T> T ReadAs(std::size_t offset) const {
        return std::bit_cast<T>(static_cast<RawOf<T>>(ReadRaw(offset, sizeof(T))));
    }
    template <class T> void WriteAs(T value, std::size_t offset) {
        WriteRaw(std::bit_cast<RawOf<T>>(value), sizeof(T), offset);
    }
    template <class T> std::size_t AppendAs(T value) {
        const std::size_t offset = m_size;
        WriteAs(value, offset);
        return offset;
    }

    // The 24-bit checks; `article` is "" for the writes and "an " for the appends.
    static std::uint32_t CheckedUInt24(std::uint32_t value, const char* article);
    static std::uint32_t CheckedInt24(std::int32_t value, const char* article);

    std::vector<std::uint8_t> m_data; // the allocated block; its length is the capacity
    std::size_t m_size = 0;
    int m_byteOrder = 0;
};
