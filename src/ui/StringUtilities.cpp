#include "ui/StringUtilities.h"

#include <QtEndian>

#include <optional>
#include <stdexcept>
#include <vector>

namespace {

const QString WriteContext = QStringLiteral("CStringUtilities::WriteToStream: ");
const QString ReadContext = QStringLiteral("CStringUtilities::ReadFromStream: ");

[[noreturn]] void ThrowFailed(const QString& context, HRESULT hr) {
    const QString pattern = context + QStringLiteral("Failed writing to stream. HRESULT={0}");
    throw std::runtime_error(CStringUtilities::Format(pattern, hr).toStdString());
}

[[noreturn]] void ThrowCorrupt(const QString& what) {
    throw std::runtime_error((ReadContext + what).toStdString());
}

void WriteAll(IStream* stream, const void* data, std::uint32_t count) {
    std::uint32_t written = 0;
    const HRESULT hr = stream->Write(data, count, &written);
    if (FAILED(hr) || written != count) {
        ThrowFailed(WriteContext, FAILED(hr) ? hr : E_FAIL);
    }
}

// Reads `count` bytes; false when the stream ended first.
bool ReadAll(IStream* stream, void* data, std::uint32_t count) {
    std::uint32_t read = 0;
    const HRESULT hr = stream->Read(data, count, &read);
    if (FAILED(hr)) {
        ThrowFailed(ReadContext, hr);
    }
    return read == count;
}

// The bytes between the position and the end, when the stream can tell.
std::optional<std::uint64_t> BytesLeft(IStream* stream) {
    std::uint64_t position = 0;
    std::uint64_t size = 0;
    if (FAILED(stream->Seek(0, IStream::SeekOrigin::Current, &position)) ||
        FAILED(stream->GetSize(&size))) {
        return std::nullopt;
    }
    return size > position ? size - position : 0;
}

// A corrupt length prefix must neither make the reader allocate gigabytes nor read past the
// end of the stream.
void CheckLength(std::uint32_t length, IStream* stream) {
    if (length % 2 != 0) {
        ThrowCorrupt(QStringLiteral("Length %1 is odd").arg(length));
    }
    if (length > CStringUtilities::MaxStreamTextBytes) {
        ThrowCorrupt(QStringLiteral("Length %1 exceeds the limit of %2 bytes")
                         .arg(length)
                         .arg(CStringUtilities::MaxStreamTextBytes));
    }
    const std::optional<std::uint64_t> left = BytesLeft(stream);
    if (left && length > *left) {
        ThrowCorrupt(QStringLiteral("Length %1 exceeds the %2 bytes left in the stream")
                         .arg(length)
                         .arg(*left));
    }
}

} // namespace

void CStringUtilities::WriteToStream(const QString& text, IStream* stream) {
    if (stream == nullptr) {
        throw std::invalid_argument(
            (WriteContext + QStringLiteral("Stream is null")).toStdString());
    }
    const qsizetype bytes = text.size() * 2;
    if (bytes > qsizetype{MaxStreamTextBytes}) {
        throw std::invalid_argument(
            (WriteContext + QStringLiteral("Text of %1 bytes exceeds the limit of %2 bytes")
                                .arg(bytes)
                                .arg(MaxStreamTextBytes))
                .toStdString());
    }
    const auto length = static_cast<std::uint32_t>(bytes);
    const quint32 prefix = qToLittleEndian<quint32>(length);
    std::vector<char16_t> characters;
    characters.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        characters.push_back(qToLittleEndian(c.unicode()));
    }
    WriteAll(stream, &prefix, sizeof prefix);
    WriteAll(stream, characters.data(), length);
}

QString CStringUtilities::ReadFromStream(IStream* stream) {
    if (stream == nullptr) {
        throw std::invalid_argument((ReadContext + QStringLiteral("Stream is null")).toStdString());
    }
    quint32 prefix = 0;
    if (!ReadAll(stream, &prefix, sizeof prefix)) {
        ThrowCorrupt(QStringLiteral("Stream ends inside the length"));
    }
    const std::uint32_t length = qFromLittleEndian<quint32>(prefix);
    CheckLength(length, stream);
    std::vector<char16_t> characters(length / 2);
    if (!ReadAll(stream, characters.data(), length)) {
        ThrowCorrupt(QStringLiteral("Stream ends inside the text"));
    }
    QString text;
    text.reserve(static_cast<qsizetype>(characters.size()));
    for (const char16_t c : characters) {
        text.append(QChar(qFromLittleEndian(c)));
    }
    return text;
}

QString CStringUtilities::Format(const QString& pattern, const QString& value) {
    QString result = pattern;
    return result.replace(QStringLiteral("{0}"), value);
}
