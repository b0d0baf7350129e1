#include "views/common/SegmentUpload.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "ui/Guard.h"
#include "ui/Scheduler.h"
#include "views/common/BusyIndicator.h"
#include "views/common/DeviceAccess.h"

#include <QProgressBar>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

// A word of the segment record: one to four hexadecimal digits, 0000 to FFFF. The record
// decoders reinterpret signed fields themselves.
std::optional<std::uint16_t> ParseWord(const std::string& text) {
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

// `format` with its one "%02d" filled in; a format without it is shown as it is.
std::string FrameText(const std::string& format, int number) {
    const std::size_t at = format.find("%02d");
    if (at == std::string::npos) {
        return format;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return format.substr(0, at) + digits + format.substr(at + 4);
}

} // namespace

CSegmentUpload::CSegmentUpload(const CDeviceAccess& device, SDeviceState& state,
                               QProgressBar* progress, SSegmentUploadSettings settings,
                               SHooks hooks)
    : m_device(device), m_deviceState(state), m_busy(std::make_unique<CBusyIndicator>(progress)),
      m_progress(progress), m_settings(std::move(settings)), m_hooks(std::move(hooks)) {}

CSegmentUpload::~CSegmentUpload() {
    Scheduler().StopAll(this);
}

void CSegmentUpload::Start() {
    Start(0);
}

void CSegmentUpload::Start(int frameCount) {
    Scheduler().StopAll(this);
    m_frameCount = std::clamp(frameCount, 0, kLastFrameNumber + 1);
    m_attempt = 1;
    m_bytes.clear();
    m_frame = {};
    m_lostFrames.clear();
    m_unlistedLostFrames = 0;
    m_deviceState.frameType = m_settings.frameType;
    m_deviceState.frameNumber = 0.0f;
    SetState(EState::Waiting);
    m_busy->Start();
    Guard("Frame request", [this] { RequestFrame(); });
    if (m_state == EState::Waiting) {
        ShowStatus(m_settings.progressText);
    }
}

void CSegmentUpload::Abort() {
    if (m_state != EState::Waiting) {
        return;
    }
    // The read already scheduled still goes to the device; its frame is ignored.
    Scheduler().StopTimer(this, kTimeoutTimer);
    Scheduler().StopTimer(this, kNextTimer);
    m_busy->Stop();
    if (m_progress) {
        m_progress->setValue(0);
    }
    SetState(EState::Aborted);
    ShowStatus("Aborted by user");
}

void CSegmentUpload::Leave() {
    Scheduler().StopAll(this);
    if (m_state == EState::Waiting) {
        m_busy->Stop();
    }
    SetState(EState::Idle);
    Guard("Leave", [this] {
        m_device.SetDtmCopy(kFrameTypeKey, "0");
        m_device.SetDtmCopy(kFrameNumberKey, "0");
    });
}

bool CSegmentUpload::OnParameter(std::uint32_t key) {
    if (key != kSegmentKey) {
        return false;
    }
    if (m_state == EState::Waiting) {
        Scheduler().StopTimer(this, kTimeoutTimer);
        Guard("Frame", [this] { OnFrame(); });
    }
    return true;
}

void CSegmentUpload::RequestFrame() {
    m_device.Write(kFrameNumberKey, CConversions::format_double(m_deviceState.frameNumber));
    m_device.Write(kFrameTypeKey, std::to_string(m_deviceState.frameType));
    Scheduler().StartOneShot(this, kReadTimer, m_settings.readDelayMs,
                             [this] { Guard("Frame read", [this] { ReadFrame(); }); });
}

void CSegmentUpload::ReadFrame() {
    m_device.RequestRead(kSegmentKey);
    if (m_state != EState::Waiting) {
        return; // aborted after the request: the frame that comes is ignored
    }
    // A reply that never comes counts as a bad frame.
    Scheduler().StartOneShot(this, kTimeoutTimer, kFrameTimeoutMs, [this] {
        Guard("Frame", [this] {
            m_frame = {}; // nothing was read: no frame is known to follow
            BadFrame();
        });
    });
}

void CSegmentUpload::OnFrame() {
    const std::optional<std::vector<std::string>> words = m_device.FetchArray(kSegmentKey);
    if (!words || !ReadWords(*words)) {
        ShowStatus("Received data is invalid");
        BadFrame();
        return;
    }
    const bool good = static_cast<float>(m_frame.seqId) == m_deviceState.frameNumber &&
                      m_frame.type == m_settings.frameType;
    if (good) {
        GoodFrame();
    } else {
        BadFrame();
    }
}

bool CSegmentUpload::ReadWords(const std::vector<std::string>& words) {
    // Each frame starts from an empty buffer: a short frame never shows the last one's bytes.
    m_bytes.clear();
    m_frame = {};
    const std::size_t count = std::min(words.size(), kMaxWords);
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<std::uint16_t> word = ParseWord(words[i]);
        if (!word) {
            // The header stays as far as it was read; the bytes go.
            m_bytes.clear();
            return false;
        }
        const auto low = static_cast<std::uint8_t>(*word & 0xFF);
        const auto high = static_cast<std::uint8_t>(*word >> 8);
        if (i == 0) {
            m_frame.type = low;
            m_frame.seqId = high;
        } else if (i == 1) {
            m_frame.noOfEvents = low;
            m_frame.eventsInFrame = high;
        }
        m_bytes.push_back(low);
        m_bytes.push_back(high);
    }
    if (m_frameCount > 0) {
        // Values: everything after the type and SeqID word; there is no payload length.
        if (m_bytes.size() < kValueHeaderBytes) {
            m_bytes.clear();
            return false;
        }
        m_frame.noOfEvents = IsLastFrame(m_frame.seqId) ? 0 : 1;
        m_frame.eventsInFrame = static_cast<std::uint8_t>(m_bytes.size() - kValueHeaderBytes);
        m_frame.payload = std::span<const std::uint8_t>(m_bytes).subspan(kValueHeaderBytes);
        return true;
    }
    if (m_bytes.size() < kHeaderBytes) {
        m_bytes.clear();
        return false;
    }
    const std::size_t stored = m_bytes.size() - kHeaderBytes;
    m_frame.payload = std::span<const std::uint8_t>(m_bytes).subspan(
        kHeaderBytes, std::min<std::size_t>(m_frame.eventsInFrame, stored));
    return true;
}

void CSegmentUpload::BadFrame() {
    if (m_state != EState::Waiting) {
        return;
    }
    if (m_attempt < kAttempts) {
        ++m_attempt;
        RequestFrame();
        return;
    }
    m_attempt = 1;
    const int lost = static_cast<int>(m_deviceState.frameNumber);
    if (m_lostFrames.size() < kLostFrameTable) {
        m_lostFrames.push_back(lost);
    } else {
        ++m_unlistedLostFrames;
    }
    // A record buffer's header as last read says whether more frames follow. A frame number
    // cannot pass what SeqID can name, so a device that never answers right still ends the
    // upload.
    const bool last =
        m_frameCount > 0 ? IsLastFrame(lost) : m_frame.noOfEvents == 0 || lost >= kLastFrameNumber;
    if (last) {
        Finish(EState::LastFrameMissed, m_settings.lastFrameMissedText);
        return;
    }
    m_deviceState.frameNumber += 1.0f;
    RequestFrame();
}

void CSegmentUpload::GoodFrame() {
    ShowStatus(FrameText(m_settings.frameText, m_frame.seqId + 1));
    m_attempt = 1;
    if (m_hooks.decode) {
        m_hooks.decode(m_frame);
    }
    if (m_frameCount > 0 ? IsLastFrame(m_frame.seqId) : m_frame.noOfEvents == 0) {
        Finish(EState::Completed, m_settings.completedText);
        return;
    }
    m_deviceState.frameNumber = static_cast<float>(m_frame.seqId) + 1.0f;
    RequestNextFrame(m_settings.nextRequestDelayMs);
}

bool CSegmentUpload::IsLastFrame(int frameNumber) const {
    return frameNumber + 1 >= m_frameCount;
}

void CSegmentUpload::RequestNextFrame(int delayMs) {
    if (delayMs <= 0) {
        RequestFrame();
        return;
    }
    Scheduler().StartOneShot(this, kNextTimer, delayMs,
                             [this] { Guard("Frame request", [this] { RequestFrame(); }); });
}

void CSegmentUpload::Finish(EState end, const std::string& text) {
    Scheduler().StopAll(this);
    ShowStatus(text);
    m_busy->Stop();
    // The request record goes back in the DTM's copy only; the device is not written.
    m_device.SetDtmCopy(kFrameNumberKey, CConversions::format_double(m_deviceState.frameNumber));
    m_device.SetDtmCopy(kFrameTypeKey, "0");
    if (!m_lostFrames.empty()) {
        m_device.ShowMessage(LostFramesReport(m_lostFrames, m_unlistedLostFrames));
    }
    // Last: a view may start the next upload from here.
    SetState(end);
}

std::string CSegmentUpload::LostFramesReport(const std::vector<int>& frames, std::size_t unlisted) {
    std::string report = "Lost Frames: ";
    for (const int frame : frames) {
        char number[16];
        std::snprintf(number, sizeof number, "%2d ", frame);
        report += number;
    }
    if (unlisted > 0) {
        report += "and " + std::to_string(unlisted) + " more";
    }
    return report;
}

void CSegmentUpload::SetState(EState state) {
    m_state = state;
    if (m_hooks.stateChanged) {
        m_hooks.stateChanged(state);
    }
}

void CSegmentUpload::ShowStatus(const std::string& text) const {
    if (m_hooks.status) {
        m_hooks.status(text);
    }
}

void CSegmentUpload::Guard(const char* where, const std::function<void()>& work) {
    // A failing DTM call ends the upload with its message, so that nothing waits for a frame
    // that was never asked for and the busy bar does not loop on.
    const std::optional<std::string> error = CaughtError(work);
    if (!error) {
        return;
    }
    ShowStatus(std::string(where) + ": " + *error);
    Scheduler().StopAll(this);
    if (m_state == EState::Waiting) {
        m_busy->Stop();
        SetState(EState::Aborted);
    }
}

void StoreValues(const SSegmentFrame& frame, std::vector<double>& values, double divisor) {
    const std::size_t first = static_cast<std::size_t>(frame.seqId) * CSegmentUpload::kValueWords;
    const std::size_t words = frame.payload.size() / 2;
    for (std::size_t i = 0; i < words && first + i < values.size(); ++i) {
        const auto word =
            static_cast<std::uint16_t>(frame.payload[2 * i] | (frame.payload[2 * i + 1] << 8));
        values[first + i] = static_cast<std::int16_t>(word) / divisor;
    }
}
