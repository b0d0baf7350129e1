#pragma once

#include "com/Stream.h"

#include <QString>

#include <concepts>
#include <cstdint>

// Texts saved into files and COM-style streams: a 4-byte little-endian length in bytes, then
// the UTF-16 characters (little-endian) without a terminator.
class CStringUtilities {
public:
    // The longest text a stream may carry, in bytes. A longer length prefix means the stream
    // is corrupt.
    static constexpr std::uint32_t MaxStreamTextBytes = 16u * 1024u * 1024u;

    // Throws std::invalid_argument for a null stream or a text longer than
    // MaxStreamTextBytes, std::runtime_error when the stream refuses the write.
    static void WriteToStream(const QString& text, IStream* stream);
    // Throws std::invalid_argument for a null stream and std::runtime_error when the read
    // fails or the stream is corrupt: it ends before the length or the text does, or the
    // length is odd or larger than MaxStreamTextBytes.
    static QString ReadFromStream(IStream* stream);

    // `pattern` with every "{0}" replaced by the text of `value`.
    static QString Format(const QString& pattern, const QString& value);
    template <std::integral T> static QString Format(const QString& pattern, T value) {
        return Format(pattern, QString::number(value));
    }
};
