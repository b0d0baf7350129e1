#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Cuts a buffer of fixed-size records into the frames the device sends through its segment
// record, one frame per request. Every buffer the positioner serves (event log, test results,
// trends, histogram, alarm history) goes through here.
//
// A frame is four header bytes and up to kMaxPayloadBytes of whole records:
//   byte 0 Type          the buffer's frame type
//   byte 1 SeqID         the frame number (low 8 bits)
//   byte 2 NoOfEvents    0 on the last frame of the buffer, else 1
//   byte 3 EventsInFrame the number of payload bytes
// The bytes travel as kFrameWords 16-bit words (byte 2i low, byte 2i+1 high), zero-padded, each
// as "%04X" text.
//
// Result buffers (test samples and figures) travel as value frames instead: word 0 is
// Type | SeqID << 8 (the same two bytes), words 1 to kValuesPerFrame are the buffer's signed
// 16-bit values from N * kValuesPerFrame on, 0 beyond the buffer's end; no counts.
namespace frames {

inline constexpr std::size_t kHeaderBytes = 4;
inline constexpr std::size_t kMaxPayloadBytes = 120;
inline constexpr std::size_t kFrameWords = (kHeaderBytes + kMaxPayloadBytes) / 2; // 62
inline constexpr std::size_t kValuesPerFrame = kFrameWords - 1;                   // 61

struct SFrameHeader {
    std::uint8_t type = 0;
    std::uint8_t seqId = 0;
    std::uint8_t noOfEvents = 0;
    std::uint8_t eventsInFrame = 0;
};

// How many records of `recordSize` bytes one frame carries (12 for 10-byte records).
std::size_t RecordsPerFrame(std::size_t recordSize);
// How many frames a buffer of `bufferBytes` takes; an empty buffer takes one (empty) frame.
std::size_t FrameCount(std::size_t bufferBytes, std::size_t recordSize);

// The bytes of frame `frameNumber` (header and payload, without padding). A frame number
// at or beyond the last frame answers an empty last frame carrying that number.
std::vector<std::uint8_t> BuildFrame(std::uint8_t type, std::span<const std::uint8_t> buffer,
                                     std::size_t recordSize, std::size_t frameNumber);

// How many value frames a buffer of `values` values takes: values / kValuesPerFrame + 1, so a
// buffer that fills its last frame exactly still ends with an empty one.
std::size_t ValueFrameCount(std::size_t values);
// The kFrameWords words of value frame `frameNumber`. A frame number at or beyond the frame
// count answers all-zero values carrying that number.
std::vector<std::uint16_t> BuildValueFrame(std::uint8_t type, std::span<const std::int16_t> values,
                                           std::size_t frameNumber);

// The kFrameWords words of `bytes` (longer input is cut, shorter padded with 0).
std::vector<std::uint16_t> ToWords(std::span<const std::uint8_t> bytes);
// "%04X" of each word.
std::vector<std::string> WordTexts(std::span<const std::uint16_t> words);
// The texts separated by single spaces: the value of an FF value array in the store.
std::string JoinWords(const std::vector<std::string>& texts);

} // namespace frames
