// The segment upload against a small device that prepares frames of a buffer, on the manual
// scheduler.

#include "views/common/SegmentUpload.h"
#include "com/ComObject.h"
#include "fdt/DtmInterfaces.h"
#include "model/DeviceState.h"
#include "model/ParameterDescriptionFactory.h"
#include "ui/ManualScheduler.h"
#include "views/common/DeviceAccess.h"

#include <QProgressBar>
#include <gmock/gmock.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using EState = CSegmentUpload::EState;

namespace {

constexpr int kFrameType = 39;
constexpr int kBusMs = 30;

// Words "%04X" of a frame: header, then `payload` bytes.
std::vector<std::string> Words(int type, int seq, int more, std::vector<std::uint8_t> payload) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(seq),
                                    static_cast<std::uint8_t>(more),
                                    static_cast<std::uint8_t>(payload.size())};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    if (bytes.size() % 2 != 0) {
        bytes.push_back(0);
    }
    std::vector<std::string> words;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", bytes[i] | (bytes[i + 1] << 8));
        words.emplace_back(text);
    }
    return words;
}

// A device with one request record and one segment record: writing the frame type prepares
// the frame that `prepare` gives for the written frame number; a read answers after the bus
// time by calling `arrived`.
class CFrameDevice : public ComObject<IDtmParameterAccess, IDtmUIAccess> {
public:
    using Prepare = std::function<std::vector<std::string>(int frameNumber, int frameType)>;

    HRESULT GetControlData(std::int32_t, std::uint32_t, std::int32_t* kind,
                           std::string* controlData) override {
        *kind = 7;
        std::string elements;
        for (std::size_t i = 0; i < segment.size(); ++i) {
            elements += R"(<ArrayElement index=")" + std::to_string(i + 1) + R"(" value=")" +
                        segment[i] + R"("/>)";
        }
        *controlData =
            R"(<Answer><ControlData label="Segment" value="" timestamp="0000000000000001" )"
            R"(parameterType="ereferencearray" valueType="effoctet"/>)"
            R"(<FFValueArray elementType="eUInt16" valueType="effoctet">)" +
            elements + "</FFValueArray></Answer>";
        return S_OK;
    }
    HRESULT SetParameterValue(std::int32_t, std::uint32_t key, const std::string& value,
                              std::string* response) override {
        copies[key] = value;
        log.push_back("set " + Hex(key) + " " + value);
        response->clear();
        return S_OK;
    }
    HRESULT ExecuteFunction(std::int32_t, std::int32_t function, const std::string& argument,
                            VARIANT_BOOL*) override {
        const auto key = static_cast<std::uint32_t>(std::stoul(argument));
        log.push_back((function == 5 ? "write " : "read ") + Hex(key));
        if (function == 5 && key == CSegmentUpload::kFrameTypeKey && prepare) {
            segment =
                prepare(std::stoi(copies[CSegmentUpload::kFrameNumberKey]), std::stoi(copies[key]));
        }
        if (function == 4 && answer) {
            Scheduler().StartOneShot(this, ++m_reads, kBusMs, [this] { arrived(); });
        }
        return S_OK;
    }
    HRESULT OpenContext(const std::string&, std::int32_t*) override { return E_NOTIMPL; }
    HRESULT GetStateDocument(std::string*) override { return E_NOTIMPL; }
    HRESULT GetProperty(const std::string&, Variant*) override { return E_NOTIMPL; }
    HRESULT ShowUserDialog(const std::string&, const Variant& message, VARIANT_BOOL*) override {
        messages.push_back(message.ToString());
        return S_OK;
    }
    HRESULT RegisterUI(const std::string&, const std::string&, IDtmActiveXControl*, VARIANT_BOOL,
                       VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT UnregisterUI(const std::string&, VARIANT_BOOL, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    ~CFrameDevice() override { Scheduler().StopAll(this); }

    static std::string Hex(std::uint32_t key) {
        char text[16];
        std::snprintf(text, sizeof text, "%08X", key);
        return text;
    }

    Prepare prepare;
    std::function<void()> arrived;
    bool answer = true;
    std::vector<std::string> segment;
    std::map<std::uint32_t, std::string> copies;
    std::vector<std::string> log;
    std::vector<std::string> messages;

private:
    int m_reads = 0;
};

class SegmentUploadTest : public ::testing::Test {
protected:
    SegmentUploadTest() {
        SetScheduler(&m_scheduler);
        m_device->arrived = [this] { m_upload.OnParameter(CSegmentUpload::kSegmentKey); };
    }
    ~SegmentUploadTest() override {
        m_device->arrived = nullptr;
        SetScheduler(nullptr);
    }
    // A buffer of `frames` frames of `records` 10-byte records each.
    void Buffer(int frames, int records = 2) {
        m_device->prepare = [frames, records](int frame, int type) {
            return Words(type, frame, frame + 1 < frames ? 1 : 0,
                         std::vector<std::uint8_t>(static_cast<std::size_t>(records) * 10,
                                                   static_cast<std::uint8_t>(frame)));
        };
    }
    void Run(int ms = 60000) { m_scheduler.AdvanceBy(ms); }

    CManualScheduler m_scheduler;
    ComPtr<CFrameDevice> m_device = MakeCom<CFrameDevice>();
    CParameterDescriptionFactory m_descriptors{ComPtr<IDtmParameterAccess>(m_device.Get())};
    CDeviceAccess m_access{&m_descriptors, ComPtr<IDtmParameterAccess>(m_device.Get()),
                           ComPtr<IDtmUIAccess>(m_device.Get())};
    SDeviceState m_state;
    QProgressBar m_bar;
    std::vector<std::string> m_status;
    std::vector<SSegmentFrame> m_frames;
    std::vector<std::size_t> m_payloadSizes;
    CSegmentUpload m_upload{
        m_access, m_state, &m_bar,
        SSegmentUploadSettings{kFrameType, 3000, 0, "Event log upload in progress",
                               "Event log upload is completed"},
        CSegmentUpload::SHooks{[this](const SSegmentFrame& frame) {
                                   m_frames.push_back(frame);
                                   m_payloadSizes.push_back(frame.payload.size());
                               },
                               [this](const std::string& text) { m_status.push_back(text); },
                               {}}};
};

TEST_F(SegmentUploadTest, UploadsFrameByFrameInTheDocumentedCallOrderAndResetsTheDtmCopy) {
    Buffer(3);
    m_upload.Start();
    EXPECT_THAT(m_device->log, ElementsAre("set 015B0004 0", "write 015B0004", "set 015B0001 39",
                                           "write 015B0001"));
    m_scheduler.AdvanceBy(2999);
    EXPECT_EQ(m_device->log.size(), 4u); // the read waits for the device to prepare the frame
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(m_device->log.back(), "read 01650000");
    Run();

    EXPECT_EQ(m_upload.GetState(), EState::Completed);
    ASSERT_EQ(m_frames.size(), 3u);
    EXPECT_THAT(m_payloadSizes, ElementsAre(20u, 20u, 20u));
    EXPECT_THAT(m_status, ElementsAre("Event log upload in progress", "Frame 01: Received",
                                      "Frame 02: Received", "Frame 03: Received",
                                      "Event log upload is completed"));
    // The request record goes back in the DTM's copy only.
    EXPECT_THAT(std::vector<std::string>(m_device->log.end() - 2, m_device->log.end()),
                ElementsAre("set 015B0004 2", "set 015B0001 0"));
    EXPECT_EQ(m_bar.value(), 100);
    EXPECT_TRUE(m_device->messages.empty());

    // A buffer whose first frame is already the last.
    m_frames.clear();
    Buffer(1);
    m_upload.Start();
    Run();
    EXPECT_EQ(m_frames.size(), 1u);
    EXPECT_EQ(m_upload.GetState(), EState::Completed);
}

TEST_F(SegmentUploadTest, WrongSequenceNumbersAreAskedThreeTimesThenLostAndReportedByNumber) {
    m_device->prepare = [](int frame, int type) {
        return Words(type, frame + 7, frame < 2 ? 1 : 0, std::vector<std::uint8_t>(10, 1));
    };
    m_upload.Start();
    Run(200000);
    EXPECT_EQ(std::count(m_device->log.begin(), m_device->log.end(), "read 01650000"), 9);
    EXPECT_EQ(m_upload.GetState(), EState::LastFrameMissed);
    EXPECT_EQ(m_status.back(), "Last Frame Missed");
    EXPECT_TRUE(m_frames.empty());
    EXPECT_THAT(m_upload.GetLostFrames(), ElementsAre(0, 1, 2));
    EXPECT_THAT(m_device->messages, ElementsAre("Lost Frames:  0  1  2 "));
    EXPECT_EQ(m_device->log.back(), "set 015B0001 0"); // reset like a normal end
}

TEST_F(SegmentUploadTest, UnreadableWordsShortAndLongFramesAndMissingReplies) {
    // Frame 0: first a word that is no hex number, then one beyond 16 bits, then good.
    int attempt = 0;
    m_device->prepare = [&attempt](int frame, int type) {
        ++attempt;
        std::vector<std::string> words = Words(type, frame, 0, std::vector<std::uint8_t>(30, 0xAB));
        if (attempt == 1) {
            words[3] = "12G4";
        } else if (attempt == 2) {
            words[3] = "10000";
        } else {
            words[2] = "FFFF";        // 16 bits, read as the bytes FF FF
            words.resize(70, "0101"); // longer than a frame: the rest is not stored
            words[1] = "FF00";        // last frame, 255 payload bytes: only 120 are there
        }
        return words;
    };
    m_upload.Start();
    Run();
    EXPECT_EQ(std::count(m_status.begin(), m_status.end(), "Received data is invalid"), 2);
    ASSERT_EQ(m_frames.size(), 1u);
    EXPECT_EQ(m_payloadSizes[0], 120u);
    EXPECT_EQ(m_upload.GetState(), EState::Completed);

    // A device that never answers: each read times out, three times, then the upload ends.
    m_status.clear();
    Buffer(2);
    m_device->answer = false;
    m_upload.Start();
    m_scheduler.AdvanceBy(3000 + CSegmentUpload::kFrameTimeoutMs - 1);
    EXPECT_EQ(m_upload.GetState(), EState::Waiting);
    Run(200000);
    EXPECT_EQ(m_upload.GetState(), EState::LastFrameMissed);
    EXPECT_EQ(std::count(m_device->log.begin(), m_device->log.end(), "read 01650000"), 3 + 3);
}

TEST_F(SegmentUploadTest, AbortIgnoresTheScheduledFrameAndLeavingResetsTheRequestRecord) {
    Buffer(3);
    m_upload.Start();
    m_scheduler.AdvanceBy(1000);
    m_upload.Abort();
    EXPECT_EQ(m_status.back(), "Aborted by user");
    EXPECT_EQ(m_bar.value(), 0);
    Run();
    EXPECT_EQ(m_device->log.back(), "read 01650000"); // the scheduled read still went out
    EXPECT_TRUE(m_frames.empty());
    EXPECT_EQ(m_upload.GetState(), EState::Aborted);

    m_upload.Start();
    m_scheduler.AdvanceBy(4000);
    m_upload.Leave();
    EXPECT_EQ(m_upload.GetState(), EState::Idle);
    EXPECT_THAT(std::vector<std::string>(m_device->log.end() - 2, m_device->log.end()),
                ElementsAre("set 015B0001 0", "set 015B0004 0"));
    const std::size_t calls = m_device->log.size();
    Run();
    EXPECT_EQ(m_device->log.size(), calls);
}

TEST_F(SegmentUploadTest, MoreLostFramesThanTheTableHoldsStillUploadToTheEnd) {
    m_device->prepare = [](int frame, int type) {
        return Words(type, frame == 99 ? 99 : 200, frame < 99 ? 1 : 0, {});
    };
    m_upload.Start();
    Run(100 * 3 * 3100 + 10000);
    EXPECT_EQ(m_upload.GetState(), EState::Completed);
    EXPECT_EQ(m_upload.GetLostFrames().size(), CSegmentUpload::kLostFrameTable);
    EXPECT_EQ(m_upload.GetUnlistedLostFrames(), 99 - CSegmentUpload::kLostFrameTable);
    ASSERT_EQ(m_device->messages.size(), 1u);
    EXPECT_THAT(m_device->messages[0], HasSubstr(" 89 and 9 more"));
}

TEST_F(SegmentUploadTest, ABufferOfKnownLengthEndsAfterItsFramesAndTakesNoFrameBeyondThem) {
    // Frames of values: a type and SeqID word, then 61 words; byte 2 is a value, not a count.
    std::vector<int> seqIds{0, 1, 9, 9, 9, 2, 3}; // frame 2 answers 9 three times: lost
    std::size_t answer = 0;
    m_device->prepare = [&](int, int type) {
        const int seq = seqIds.at(std::min(answer++, seqIds.size() - 1));
        char header[8];
        std::snprintf(header, sizeof header, "%04X", type | (seq << 8));
        std::vector<std::string> words{header};
        words.resize(62, "0000");
        return words;
    };
    m_upload.Start(4);
    Run(200000);
    EXPECT_EQ(m_upload.GetState(), EState::Completed);
    ASSERT_EQ(m_frames.size(), 3u);
    EXPECT_EQ(m_frames[2].seqId, 3);
    EXPECT_THAT(m_payloadSizes, ElementsAre(122u, 122u, 122u));
    EXPECT_THAT(m_upload.GetLostFrames(), ElementsAre(2));
    EXPECT_EQ(m_status.back(), "Event log upload is completed");

    // The last frame lost: the upload ends with its text; a frame number beyond the count is
    // never asked for.
    m_frames.clear();
    m_device->log.clear();
    answer = 0;
    seqIds = {0, 7};
    m_upload.Start(2);
    Run(200000);
    EXPECT_EQ(m_upload.GetState(), EState::LastFrameMissed);
    EXPECT_EQ(m_frames.size(), 1u);
    EXPECT_EQ(std::count(m_device->log.begin(), m_device->log.end(), "set 015B0004 2"), 0);
    EXPECT_EQ(m_device->log.back(), "set 015B0001 0");
}

} // namespace
