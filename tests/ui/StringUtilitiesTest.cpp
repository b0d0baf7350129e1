#include "ui/StringUtilities.h"
#include "com/ComPtr.h"
#include "common/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream whose reads and writes fail.
class FailingStream : public MemoryStream {
public:
    HRESULT Read(void*, std::uint32_t, std::uint32_t*) override { return E_FAIL; }
    HRESULT Write(const void*, std::uint32_t, std::uint32_t*) override { return E_FAIL; }
};

// A stream that cannot tell its size.
class SizelessStream : public MemoryStream {
public:
    using MemoryStream::MemoryStream;
    HRESULT GetSize(std::uint64_t*) override { return E_NOTIMPL; }
};

// The message of the exception of type E that `call` throws ("" when it throws none).
template <class E> std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

std::string ReadError(const Bytes& bytes) {
    auto stream = MakeCom<MemoryStream>(bytes);
    return ErrorOf<std::runtime_error>([&] { CStringUtilities::ReadFromStream(stream.Get()); });
}

TEST(StringUtilities, TextsRoundTripWithALittleEndianByteLength) {
    auto stream = MakeCom<MemoryStream>();
    const QString text = QStringLiteral("Ventil 25 °C – ÄÖÜ");
    CStringUtilities::WriteToStream(text, stream.Get());
    CStringUtilities::WriteToStream(QString(), stream.Get());
    CStringUtilities::WriteToStream(QStringLiteral("AB"), stream.Get());

    const Bytes& bytes = stream->Bytes();
    ASSERT_EQ(bytes.size(), 4u + 2u * static_cast<std::size_t>(text.size()) + 4u + 8u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{36, 0, 0, 0}));
    EXPECT_EQ(Bytes(bytes.end() - 12, bytes.end()),
              (Bytes{0, 0, 0, 0, 4, 0, 0, 0, 'A', 0, 'B', 0}));

    ASSERT_EQ(stream->Seek(0, IStream::SeekOrigin::Begin, nullptr), S_OK);
    EXPECT_EQ(CStringUtilities::ReadFromStream(stream.Get()), text);
    EXPECT_EQ(CStringUtilities::ReadFromStream(stream.Get()), QString());
    EXPECT_EQ(CStringUtilities::ReadFromStream(stream.Get()), "AB");
}

TEST(StringUtilities, MissingAndFailingStreamsGiveTheDocumentedErrors) {
    EXPECT_EQ(ErrorOf<std::invalid_argument>([] { CStringUtilities::WriteToStream("x", nullptr); }),
              "CStringUtilities::WriteToStream: Stream is null");
    EXPECT_EQ(ErrorOf<std::invalid_argument>([] { CStringUtilities::ReadFromStream(nullptr); }),
              "CStringUtilities::ReadFromStream: Stream is null");
    auto failing = MakeCom<FailingStream>();
    EXPECT_EQ(
        ErrorOf<std::runtime_error>([&] { CStringUtilities::WriteToStream("x", failing.Get()); }),
        "CStringUtilities::WriteToStream: Failed writing to stream. HRESULT=-2147467259");
    EXPECT_EQ(ErrorOf<std::runtime_error>([&] { CStringUtilities::ReadFromStream(failing.Get()); }),
              "CStringUtilities::ReadFromStream: Failed writing to stream. HRESULT=-2147467259");
}

TEST(StringUtilities, CorruptOrTruncatedStreamsAreRefused) {
    EXPECT_EQ(ReadError({4, 0}), "CStringUtilities::ReadFromStream: Stream ends inside the length");
    EXPECT_EQ(ReadError({3, 0, 0, 0, 'A', 0, 'B'}),
              "CStringUtilities::ReadFromStream: Length 3 is odd");
    EXPECT_EQ(ReadError({10, 0, 0, 0, 'A', 0, 'B', 0}),
              "CStringUtilities::ReadFromStream: Length 10 exceeds the 4 bytes left in the stream");
    EXPECT_EQ(
        ReadError({0xFE, 0xFF, 0xFF, 0xFF}),
        "CStringUtilities::ReadFromStream: Length 4294967294 exceeds the limit of 16777216 bytes");

    // A stream that cannot tell its size still gets no allocation beyond the limit, and a
    // text cut short is noticed while reading it.
    auto sizeless = MakeCom<SizelessStream>(Bytes{0x02, 0x00, 0x00, 0x01});
    EXPECT_EQ(
        ErrorOf<std::runtime_error>([&] { CStringUtilities::ReadFromStream(sizeless.Get()); }),
        "CStringUtilities::ReadFromStream: Length 16777218 exceeds the limit of 16777216 bytes");
    sizeless = MakeCom<SizelessStream>(Bytes{6, 0, 0, 0, 'A', 0});
    EXPECT_EQ(
        ErrorOf<std::runtime_error>([&] { CStringUtilities::ReadFromStream(sizeless.Get()); }),
        "CStringUtilities::ReadFromStream: Stream ends inside the text");

    // A text at the limit is written and read; one character more is refused unwritten.
    auto stream = MakeCom<MemoryStream>();
    const QString longest(CStringUtilities::MaxStreamTextBytes / 2, QLatin1Char('x'));
    CStringUtilities::WriteToStream(longest, stream.Get());
    ASSERT_EQ(stream->Seek(0, IStream::SeekOrigin::Begin, nullptr), S_OK);
    EXPECT_EQ(CStringUtilities::ReadFromStream(stream.Get()), longest);
    auto unwritten = MakeCom<MemoryStream>();
    EXPECT_EQ(ErrorOf<std::invalid_argument>(
                  [&] { CStringUtilities::WriteToStream(longest + 'x', unwritten.Get()); }),
              "CStringUtilities::WriteToStream: Text of 16777218 bytes exceeds the limit of "
              "16777216 bytes");
    EXPECT_TRUE(unwritten->Bytes().empty());
}

TEST(StringUtilities, FormatReplacesEveryPlaceholderOnce) {
    EXPECT_EQ(CStringUtilities::Format("HRESULT={0}", -5), "HRESULT=-5");
    EXPECT_EQ(CStringUtilities::Format("{0} of {0}", QStringLiteral("<{0}>")), "<{0}> of <{0}>");
    EXPECT_EQ(CStringUtilities::Format("no placeholder {1}", 7u), "no placeholder {1}");
}

} // namespace
