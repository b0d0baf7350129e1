#include "fieldbus/BinaryBuffer.h"
#include "FieldbusTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ContentOf(const CBinaryBuffer& buffer, std::size_t from = 0) {
    return {buffer.Data() + from, buffer.Data() + buffer.Size()};
}

CBinaryBuffer BufferOf(const Bytes& bytes, int byteOrder = 1) {
    CBinaryBuffer buffer(bytes.data(), bytes.size());
    buffer.SetByteOrder(byteOrder);
    return buffer;
}

TEST(BinaryBuffer, TypedValuesInBothByteOrders) {
    for (const int byteOrder : {0, 1, 2}) {
        SCOPED_TRACE(byteOrder);
        const bool fieldbusOrder = byteOrder == 1;
        CBinaryBuffer buffer = BufferOf({}, byteOrder);
        buffer.WriteUInt16(0x1234, 0);
        EXPECT_EQ(ContentOf(buffer), fieldbusOrder ? Bytes({0x12, 0x34}) : Bytes({0x34, 0x12}));
        EXPECT_EQ(buffer.ReadUInt16(0), 0x1234);
        EXPECT_EQ(buffer.AppendInt32(-2), 2u); // appends answer the offset written to
        EXPECT_EQ(buffer.ReadInt32(2), -2);
        EXPECT_EQ(buffer.ReadUInt32(2), 0xFFFFFFFEu);
        EXPECT_EQ(buffer.AppendFloat(-1.5f), 6u); // BFC00000
        EXPECT_EQ(buffer.At(6), fieldbusOrder ? 0xBF : 0x00);
        EXPECT_EQ(buffer.ReadFloatAsDouble(6), -1.5);
        buffer.WriteDouble(1e300, 10);
        buffer.WriteInt8(-128, 18);
        EXPECT_EQ(buffer.AppendInt16(-300), 19u);
        EXPECT_EQ(buffer.ReadDouble(10), 1e300);
        EXPECT_EQ(buffer.ReadInt8(18), -128);
        EXPECT_EQ(buffer.ReadUInt8(18), 0x80);
        EXPECT_EQ(buffer.ReadInt16(19), -300);
        EXPECT_EQ(buffer.Size(), 21u);
    }
}

TEST(BinaryBuffer, TwentyFourBitLimits) {
    EXPECT_EQ(BufferOf({0xFF, 0xFF, 0xFF}).ReadInt24(0), -1);
    EXPECT_EQ(BufferOf({0xFF, 0xFF, 0xFF}).ReadUInt24(0), 16777215u);
    EXPECT_EQ(BufferOf({0x80, 0x00, 0x00}).ReadInt24(0), -8388608);
    EXPECT_EQ(BufferOf({0x7F, 0xFF, 0xFF}).ReadInt24(0), 8388607);
    EXPECT_EQ(BufferOf({0x00, 0x00, 0x80}, 0).ReadInt24(0), -8388608);

    CBinaryBuffer buffer = BufferOf({});
    buffer.WriteInt24(-1, 0);
    buffer.WriteInt24(8388607, 3);
    EXPECT_EQ(buffer.AppendInt24(-8388608), 6u);
    EXPECT_EQ(buffer.AppendUInt24(16777215), 9u);
    EXPECT_EQ(buffer.ToHexText(), "FFFFFF7FFFFF800000FFFFFF");

    const CBinaryBuffer before = buffer; // a refused value changes nothing
    const auto error = [&](auto write) { return ErrorOf<std::range_error>([&] { write(); }); };
    EXPECT_EQ(error([&] { buffer.WriteInt24(8388608, 0); }), "Value is too large for Int24");
    EXPECT_EQ(error([&] { buffer.AppendInt24(8388608); }), "Value is too large for an Int24");
    EXPECT_EQ(error([&] { buffer.WriteInt24(-8388609, 0); }), "Value is too small for Int24");
    EXPECT_EQ(error([&] { buffer.AppendInt24(-8388609); }), "Value is too small for an Int24");
    EXPECT_EQ(error([&] { buffer.WriteUInt24(16777216, 0); }), "Value is too large for UInt24");
    EXPECT_EQ(error([&] { buffer.AppendUInt24(16777216); }), "Value is too large for an UInt24");
    EXPECT_EQ(buffer, before);
}

TEST(BinaryBuffer, ReadsAtAndPastTheEnd) {
    const CBinaryBuffer buffer = BufferOf({1, 2, 3, 4, 5, 6, 7, 8}, 0);
    std::uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(buffer.Read(out, 4, 6), 2u);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{7, 8, 0xAA, 0xAA}));
    EXPECT_EQ(buffer.ReadUInt32(4), 0x08070605u);
    const std::string pastEnd = "Invalid index at CBinaryBuffer::Read";
    EXPECT_EQ(ErrorOf<std::out_of_range>([&] { buffer.Read(out, 4, 8); }), pastEnd);
    // A value cut off by the end is refused rather than assembled from stray bytes.
    EXPECT_EQ(ErrorOf<std::out_of_range>([&] { buffer.ReadUInt32(6); }), pastEnd);
    EXPECT_EQ(ErrorOf<std::out_of_range>([&] { buffer.ReadInt24(6); }), pastEnd);
    EXPECT_EQ(buffer.At(7), 8);
    EXPECT_EQ(ErrorOf<std::invalid_argument>([&] { buffer.At(8); }),
              "Invalid index at CBinaryBuffer::operator[]");
}

TEST(BinaryBuffer, GrowingKeepsUnusedBytesZero) {
    CBinaryBuffer buffer(4);
    EXPECT_EQ(buffer.Capacity(), 4u);
    const std::uint8_t bytes[] = {9, 9, 9};
    buffer.Write(bytes, 3, 0);
    buffer.EnsureSize(16);
    EXPECT_EQ(buffer.Capacity(), 16u);
    EXPECT_EQ(buffer.Size(), 3u);
    EXPECT_EQ(Bytes(buffer.Data() + 3, buffer.Data() + 16), Bytes(13, 0));

    buffer.Write(bytes, 3, 30); // past the end: a zero gap, and room for the bytes
    EXPECT_EQ(ContentOf(buffer, 27), (Bytes{0, 0, 0, 9, 9, 9}));

    buffer.Clear();
    EXPECT_EQ(buffer.Size(), 0u);
    EXPECT_EQ(Bytes(buffer.Data(), buffer.Data() + buffer.Capacity()), Bytes(buffer.Capacity(), 0));
    buffer.Set(bytes, 2);
    EXPECT_EQ(ContentOf(buffer), (Bytes{9, 9}));

    try {
        buffer.EnsureSize(std::numeric_limits<std::size_t>::max());
        ADD_FAILURE() << "no error";
    } catch (const std::bad_alloc& e) {
        EXPECT_STREQ(e.what(), "No memory at CBinaryBuffer::EnsureSize");
    }
    EXPECT_EQ(ContentOf(buffer), (Bytes{9, 9}));
    buffer.Set(nullptr, 2);
    EXPECT_EQ(buffer.Size(), 0u);
    buffer.Release();
    EXPECT_EQ(buffer.Data(), nullptr);
    EXPECT_EQ(buffer.Capacity(), 0u);
}

TEST(BinaryBuffer, DeepCopiesEqualityAndHexText) {
    const CBinaryBuffer original = BufferOf({1, 2, 3});
    CBinaryBuffer copy = original;
    copy.At(0) = 7;
    EXPECT_EQ(original.At(0), 1);
    EXPECT_NE(copy, original);
    copy = original;
    copy.EnsureSize(100);
    EXPECT_EQ(copy, original);
    EXPECT_NE(copy.Data(), original.Data());
    EXPECT_NE(BufferOf({1, 2}), original);
    EXPECT_EQ(CBinaryBuffer(), CBinaryBuffer(8));

    EXPECT_EQ(CBinaryBuffer::FromHexText("00a1FF"), BufferOf({0x00, 0xA1, 0xFF}));
    EXPECT_EQ(CBinaryBuffer::FromHexText("00a1FF").ToHexText(), "00A1FF");
    EXPECT_EQ(ErrorOf<std::invalid_argument>([] { CBinaryBuffer::FromHexText("ABC"); }),
              "Invalid argument at CConversions::to_byte_array");
    EXPECT_EQ(ErrorOf<std::runtime_error>([] { CBinaryBuffer::FromHexText("0G"); }),
              "Input format is not valid");
}

} // namespace
