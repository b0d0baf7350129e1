#include "dtm/FrameBuilder.h"

#include "dtm/DeviceModel.h"

#include <algorithm>
#include <cstdio>

namespace frames {

std::size_t RecordsPerFrame(std::size_t recordSize) {
    return recordSize == 0 ? 0 : kMaxPayloadBytes / recordSize;
}

std::size_t FrameCount(std::size_t bufferBytes, std::size_t recordSize) {
    const std::size_t perFrameBytes = RecordsPerFrame(recordSize) * recordSize;
    if (perFrameBytes == 0 || bufferBytes == 0) {
        return 1;
    }
    return (bufferBytes + perFrameBytes - 1) / perFrameBytes;
}

std::vector<std::uint8_t> BuildFrame(std::uint8_t type, std::span<const std::uint8_t> buffer,
                                     std::size_t recordSize, std::size_t frameNumber) {
    const std::size_t perFrameBytes = RecordsPerFrame(recordSize) * recordSize;
    const std::size_t count = FrameCount(buffer.size(), recordSize);
    const std::size_t begin = std::min(frameNumber * perFrameBytes, buffer.size());
    const std::size_t end =
        frameNumber < count ? std::min(begin + perFrameBytes, buffer.size()) : begin;
    const bool last = frameNumber + 1 >= count;
    std::vector<std::uint8_t> bytes(kHeaderBytes + (end - begin), 0);
    bytes[0] = type;
    bytes[1] = static_cast<std::uint8_t>(frameNumber & 0xFF);
    bytes[2] = last ? 0 : 1;
    bytes[3] = static_cast<std::uint8_t>(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        bytes[kHeaderBytes + i - begin] = buffer[i];
    }
    return bytes;
}

std::size_t ValueFrameCount(std::size_t values) {
    return values / kValuesPerFrame + 1;
}

std::vector<std::uint16_t> BuildValueFrame(std::uint8_t type, std::span<const std::int16_t> values,
                                           std::size_t frameNumber) {
    std::vector<std::uint16_t> words(kFrameWords, 0);
    words[0] = static_cast<std::uint16_t>(type | (frameNumber & 0xFF) << 8);
    if (frameNumber >= ValueFrameCount(values.size())) {
        return words;
    }
    const std::size_t begin = frameNumber * kValuesPerFrame;
    const std::size_t end = std::min(begin + kValuesPerFrame, values.size());
    for (std::size_t i = begin; i < end; ++i) {
        words[1 + i - begin] = static_cast<std::uint16_t>(values[i]);
    }
    return words;
}

std::vector<std::uint16_t> ToWords(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> words(kFrameWords, 0);
    for (std::size_t i = 0; i < std::min(bytes.size(), kFrameWords * 2); ++i) {
        words[i / 2] |= static_cast<std::uint16_t>(bytes[i] << (i % 2 == 0 ? 0 : 8));
    }
    return words;
}

std::vector<std::string> WordTexts(std::span<const std::uint16_t> words) {
    std::vector<std::string> texts;
    texts.reserve(words.size());
    for (const std::uint16_t word : words) {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(word));
        texts.emplace_back(text);
    }
    return texts;
}

std::string JoinWords(const std::vector<std::string>& texts) {
    return CDeviceModel::JoinArray(texts);
}

} // namespace frames
