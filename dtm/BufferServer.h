#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CDeviceModel;
struct SFrameFaults;

// Serves the positioner's buffers frame by frame: a command that names a buffer's frame type
// prepares frame N (N = the frame number element) of that buffer in the segment record, where
// a later read finds it. Record buffers (the event log) travel as record frames, value buffers
// (test results) as value frames (see FrameBuilder.h). The frame fault switches falsify what
// is prepared, the same way for both kinds.
class CBufferServer {
public:
    static constexpr std::uint32_t kFrameNumberKey = 0x015B0004;
    static constexpr std::uint32_t kSegmentKey = 0x01650000;

    // The buffer's current bytes, a whole number of records.
    using Source = std::function<std::vector<std::uint8_t>()>;
    // The buffer's current values.
    using ValueSource = std::function<std::vector<std::int16_t>()>;

    CBufferServer(CDeviceModel& store, const SFrameFaults& faults)
        : m_store(store), m_faults(faults) {}

    // One source per frame type; registering a type again replaces it.
    void Register(std::uint8_t type, std::size_t recordSize, Source source);
    void RegisterValues(std::uint8_t type, ValueSource source);
    bool Serves(std::uint8_t type) const { return m_buffers.contains(type); }
    // Prepares the frame the frame number element names. False (and nothing changes) for a
    // type no buffer has or a frame number that is not a whole number from 0 to 65535.
    bool Prepare(std::uint8_t type);

    // The segment record's text for frame `frameNumber` of buffer `type`, faults applied.
    std::string FrameText(std::uint8_t type, std::uint32_t frameNumber) const;

private:
    // The kFrameWords words of frame N of one buffer, before any fault.
    using FrameWords = std::function<std::vector<std::uint16_t>(std::uint32_t frameNumber)>;

    CDeviceModel& m_store;
    const SFrameFaults& m_faults;
    std::map<std::uint8_t, FrameWords> m_buffers;
};
