#pragma once

#include "views/common/DeviceKeys.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CBusyIndicator;
class CDeviceAccess;
class QProgressBar;
struct SDeviceState;

// One frame of a device buffer as the segment record carried it: the header and the payload
// bytes (EventsInFrame of them, as far as the frame held them).
struct SSegmentFrame {
    std::uint8_t type = 0;
    std::uint8_t seqId = 0;
    std::uint8_t noOfEvents = 0; // 0 on the last frame of the buffer
    std::uint8_t eventsInFrame = 0;
    std::span<const std::uint8_t> payload;
};

// What a view's upload differs in: the buffer (frame type), the delay between a frame request
// and the read of the segment record, the delay before the next frame after a good one, and
// the status texts of its course. `frameText` is shown after each good frame with its number
// (SeqID + 1); `lastFrameMissedText` ends an upload whose last frame was lost.
struct SSegmentUploadSettings {
    std::int32_t frameType = 0;
    int readDelayMs = 3000;
    int nextRequestDelayMs = 0;
    std::string progressText;
    std::string completedText;
    std::string frameText = "Frame %02d: Received";
    std::string lastFrameMissedText = "Last Frame Missed";
};

// The upload of a device buffer frame by frame, written once for every view that fetches one.
// Two kinds of buffer go through it. A record buffer (Start()) ends with the frame whose header
// says NoOfEvents 0; its payload is EventsInFrame bytes after a two-word header. A buffer of
// known length (Start(frameCount)) ends after that many frames; its frames carry one header
// word (Type, SeqID) and kValueWords 16-bit values, and a frame number from the device at or
// beyond the count is never taken.
//
// A frame request writes the frame number (0x015B0004) and the frame type (0x015B0001), and
// after the read delay asks for the segment record (0x01650000); the view hands the record's
// update notification to OnParameter. A frame whose header names another type or frame
// number, or whose words are not 16-bit hexadecimal numbers, is asked for again, three times
// in all; then it is lost and the upload goes on with the next frame (or ends with "Last Frame
// Missed" when it was the last). A read whose frame does not come within kFrameTimeoutMs
// counts as a bad frame. A good frame goes to the view's decoder; the last one ends the
// upload, resets the request record in the DTM's copy and reports the lost frames by number.
//
// States: idle, waiting (a request or read on its way), completed, last frame missed,
// aborted. The frame type and frame counter live in the device state record, so one upload
// runs at a time.
class CSegmentUpload {
public:
    enum class EState { Idle, Waiting, Completed, LastFrameMissed, Aborted };

    static constexpr std::uint32_t kSegmentKey = device_keys::kSegment;
    static constexpr std::uint32_t kFrameTypeKey = device_keys::kFrameType;
    static constexpr std::uint32_t kFrameNumberKey = device_keys::kFrameNumber;
    static constexpr int kAttempts = 3;
    static constexpr int kFrameTimeoutMs = 10000;
    static constexpr std::size_t kMaxWords = 62;
    static constexpr std::size_t kHeaderBytes = 4;
    // A frame of a buffer of known length: one header word, then the values.
    static constexpr std::size_t kValueHeaderBytes = 2;
    static constexpr std::size_t kValueWords = kMaxWords - 1;
    // Lost frames listed by number; more are counted.
    static constexpr std::size_t kLostFrameTable = 90;
    // SeqID is one byte: no buffer has more frames.
    static constexpr int kLastFrameNumber = 255;

    struct SHooks {
        std::function<void(const SSegmentFrame& frame)> decode;
        std::function<void(const std::string& text)> status;
        std::function<void(EState state)> stateChanged;
    };

    CSegmentUpload(const CDeviceAccess& device, SDeviceState& state, QProgressBar* progress,
                   SSegmentUploadSettings settings, SHooks hooks);
    ~CSegmentUpload();
    CSegmentUpload(const CSegmentUpload&) = delete;
    CSegmentUpload& operator=(const CSegmentUpload&) = delete;

    // Starts again from frame 0: a record buffer, or one of `frameCount` frames of values.
    void Start();
    void Start(int frameCount);
    // Stops the upload; a read already scheduled still happens and its frame is ignored.
    void Abort();
    // The view is left: a running upload stops without a word and the request record in the
    // DTM's copy is reset; the next Start begins from idle.
    void Leave();
    // Hands an update notification to the upload; true when it was the segment record.
    bool OnParameter(std::uint32_t key);

    EState GetState() const { return m_state; }
    // The frame numbers lost so far, rising, and how many more did not fit the table.
    const std::vector<int>& GetLostFrames() const { return m_lostFrames; }
    std::size_t GetUnlistedLostFrames() const { return m_unlistedLostFrames; }
    static std::string LostFramesReport(const std::vector<int>& frames, std::size_t unlisted);

private:
    enum ETimer { kReadTimer = 1, kTimeoutTimer, kNextTimer };

    void RequestFrame();
    void ReadFrame();
    void OnFrame();
    // The words of the segment record into the byte buffer; false for unreadable data.
    bool ReadWords(const std::vector<std::string>& words);
    void BadFrame();
    void GoodFrame();
    void RequestNextFrame(int delayMs);
    void Finish(EState end, const std::string& text);
    // The frame now asked for is the buffer's last.
    bool IsLastFrame(int frameNumber) const;
    void SetState(EState state);
    void ShowStatus(const std::string& text) const;
    void Guard(const char* where, const std::function<void()>& work);

    const CDeviceAccess& m_device;
    SDeviceState& m_deviceState;
    std::unique_ptr<CBusyIndicator> m_busy;
    QPointer<QProgressBar> m_progress;
    SSegmentUploadSettings m_settings;
    SHooks m_hooks;
    EState m_state = EState::Idle;
    int m_attempt = 1;
    int m_frameCount = 0; // 0: a record buffer
    std::vector<std::uint8_t> m_bytes;
    SSegmentFrame m_frame;
    std::vector<int> m_lostFrames;
    std::size_t m_unlistedLostFrames = 0;
};

// Stores the values of a frame of a buffer of known length at SeqID × kValueWords onwards in
// `values`, each a signed 16-bit number divided by `divisor` (100 for hundredths); values
// beyond the end of `values` are dropped.
void StoreValues(const SSegmentFrame& frame, std::vector<double>& values, double divisor);
