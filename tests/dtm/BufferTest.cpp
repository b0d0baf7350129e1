#include "DtmTestSupport.h"
#include "dtm/FrameBuilder.h"
#include "model/FFValueArrayParameterDescriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <sstream>

namespace {

constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kSegment = 0x01650000;
constexpr std::uint32_t kClockYear = 0x01690001;
constexpr std::size_t kRecord = CEventLog::kRecordSize;

// The bytes of words given as "%04X" texts; nothing when a text is not a 16-bit hex number.
std::optional<std::vector<std::uint8_t>> Decode(const std::vector<std::string>& texts) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& text : texts) {
        unsigned word = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), word, 16);
        if (error != std::errc() || end != text.data() + text.size() || word > 0xFFFF) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

std::vector<std::string> Split(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> parts;
    for (std::string part; stream >> part;) {
        parts.push_back(part);
    }
    return parts;
}

TEST(FrameBuilder, CutsBuffersOfAnySizeIntoFramesOfTwelveRecords) {
    struct SCase {
        std::size_t records;
        std::size_t frames;
    };
    for (const SCase c : {SCase{0, 1}, SCase{5, 1}, SCase{12, 1}, SCase{13, 2}, SCase{300, 25}}) {
        SCOPED_TRACE(c.records);
        std::vector<std::uint8_t> buffer(c.records * kRecord);
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            buffer[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        ASSERT_EQ(frames::FrameCount(buffer.size(), kRecord), c.frames);
        std::vector<std::uint8_t> payloads;
        for (std::size_t n = 0; n < c.frames; ++n) {
            SCOPED_TRACE(n);
            const std::vector<std::uint8_t> bytes = frames::BuildFrame(39, buffer, kRecord, n);
            const bool last = n + 1 == c.frames;
            const std::size_t records = last ? c.records - n * 12 : 12;
            ASSERT_EQ(bytes.size(), 4 + records * kRecord);
            EXPECT_EQ(bytes[0], 39);
            EXPECT_EQ(bytes[1], n);
            EXPECT_EQ(bytes[2], last ? 0 : 1);
            EXPECT_EQ(bytes[3], records * kRecord);
            payloads.insert(payloads.end(), bytes.begin() + 4, bytes.end());

            // The words: always 62, low byte first, zero-padded, "%04X".
            const std::vector<std::string> texts = frames::WordTexts(frames::ToWords(bytes));
            ASSERT_EQ(texts.size(), 62u);
            char first[8];
            std::snprintf(first, sizeof first, "%02zX27", n); // SeqID high, Type 39 low
            EXPECT_EQ(texts[0], first);
            const std::vector<std::uint8_t> decoded = *Decode(texts);
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), decoded.begin()));
            EXPECT_TRUE(std::all_of(decoded.begin() + static_cast<long>(bytes.size()),
                                    decoded.end(), [](std::uint8_t b) { return b == 0; }));
        }
        EXPECT_EQ(payloads, buffer);
        // A frame beyond the buffer is an empty last frame with the number asked for.
        EXPECT_EQ(frames::BuildFrame(39, buffer, kRecord, c.frames + 1),
                  (std::vector<std::uint8_t>{39, static_cast<std::uint8_t>(c.frames + 1), 0, 0}));
    }
    EXPECT_EQ(frames::JoinWords(frames::WordTexts(std::vector<std::uint16_t>{0x2701, 0xA, 0})),
              "2701 000A 0000");
}

TEST(EventLog, SeedsTheSameHistoryEveryTimeAndStampsNewEventsWithTheClock) {
    SDeviceTime clock{26, 3, 1, 12, 0, 0};
    CEventLog log([&] { return clock; });
    log.AppendHistory(clock);
    CEventLog again([&] { return clock; });
    again.AppendHistory(clock);
    ASSERT_EQ(log.Size(), CEventLog::kHistoryEvents);
    const std::vector<std::uint8_t> bytes = log.Bytes();
    EXPECT_EQ(bytes, again.Bytes());
    EXPECT_EQ(bytes[0], CEventLog::kReset);
    std::set<int> codes;
    std::array<std::uint8_t, 6> previous{};
    for (std::size_t at = 0; at < bytes.size(); at += kRecord) {
        codes.insert(bytes[at]);
        EXPECT_LE(bytes[at], CEventLog::kHighestCode);
        const std::array<std::uint8_t, 6> stamp{bytes[at + 2], bytes[at + 3], bytes[at + 4],
                                                bytes[at + 5], bytes[at + 6], bytes[at + 7]};
        EXPECT_EQ(stamp[0], 26); // all within the weeks before the clock
        EXPECT_GE(stamp, previous) << "at record " << at / kRecord;
        EXPECT_LT(stamp, (std::array<std::uint8_t, 6>{26, 3, 1, 12, 0, 0}));
        previous = stamp;
    }
    EXPECT_GE(codes.size(), 10u) << "a varied history";

    clock = AddSeconds(clock, -1); // 2026-03-01 11:59:59
    EXPECT_EQ(clock, (SDeviceTime{26, 3, 1, 11, 59, 59}));
    log.Append(7, 2);
    log.AppendTestEvents(2);
    const std::vector<std::uint8_t> tail = log.Bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(tail.end() - 30, tail.end()),
              (std::vector<std::uint8_t>{7, 2, 26, 3, 1, 11, 59, 59, 0, 0,    //
                                         0, 0, 26, 3, 1, 11, 59, 59, 0, 0,    //
                                         1, 1, 26, 3, 1, 12, 0,  0,  0, 0})); // a second on

    log.AppendTestEvents(CEventLog::kCapacity);
    EXPECT_EQ(log.Size(), CEventLog::kCapacity) << "the oldest go";
}

using Buffers = DtmTest;

// Requests frame `n` of the event log as the view does and reads the segment record.
std::vector<std::string> RequestFrame(CManualScheduler& scheduler, CSimulatedDtm& dtm,
                                      CParameterDescriptionFactory& factory, int n) {
    std::string response;
    dtm.SetParameterValue(2, keys::kFrameNumber, std::to_string(n), &response);
    VARIANT_BOOL done = VARIANT_FALSE;
    dtm.ExecuteFunction(2, dtm_function::kWrite, std::to_string(keys::kFrameNumber), &done);
    dtm.SetParameterValue(2, kCommand, "39", &response);
    dtm.ExecuteFunction(2, dtm_function::kWrite, std::to_string(kCommand), &done);
    dtm.ExecuteFunction(2, dtm_function::kRead, std::to_string(kSegment), &done);
    scheduler.AdvanceBy(1000);
    const auto* segment = dynamic_cast<const CFFValueArrayParameterDescriptor*>(
        factory.GetParameterDescription(2, kSegment));
    std::vector<std::string> texts;
    if (segment != nullptr) {
        for (const SArrayElement& element : segment->GetElements()) {
            texts.push_back(element.value);
        }
    }
    return texts;
}

TEST_F(Buffers, TheEventLogTravelsFrameByFrameThroughTheCommandElement) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    CParameterDescriptionFactory factory{ComPtr<IDtmParameterAccess>(m_dtm.Get())};
    CSimulatedPositioner& device = m_dtm->Positioner();

    // What the simulation does lands in the log, stamped with the device clock.
    device.Alarms().Raise(5);
    device.Alarms().Clear(5);
    EXPECT_EQ(Set(keys::kSetpointMode, "2"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(keys::kSetpointMode)), S_OK);
    const std::vector<std::string> clock{"26", "4", "15", "8", "30", "5"};
    for (std::uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(Set(kClockYear + i, clock[i]), "");
        EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kClockYear + i)), S_OK);
    }
    const std::size_t events = CEventLog::kHistoryEvents + 5; // + start alarm, on, off, mode, time
    ASSERT_EQ(device.Events().Size(), events);
    const std::vector<std::uint8_t> log = device.Events().Bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(log.end() - 40, log.end()),
              (std::vector<std::uint8_t>{8,  5, 26, 3, 1,  12, 0,  0, 0, 0, //
                                         9,  5, 26, 3, 1,  12, 0,  0, 0, 0, //
                                         7,  2, 26, 3, 1,  12, 0,  0, 0, 0, //
                                         11, 0, 26, 4, 15, 8,  30, 5, 0, 0}));
    EXPECT_EQ(log[(events - 5) * kRecord], 8);
    EXPECT_EQ(log[(events - 5) * kRecord + 1], CSimulatedPositioner::kStartAlarm);

    // Frame by frame, as the view asks, until the last.
    std::vector<std::uint8_t> received;
    for (int n = 0;; ++n) {
        SCOPED_TRACE(n);
        const auto bytes = Decode(RequestFrame(m_scheduler, *m_dtm, factory, n));
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), 124u);
        EXPECT_EQ((*bytes)[0], 39);
        EXPECT_EQ((*bytes)[1], n);
        received.insert(received.end(), bytes->begin() + 4, bytes->begin() + 4 + (*bytes)[3]);
        if ((*bytes)[2] == 0) {
            EXPECT_EQ(n, 3);
            break;
        }
        ASSERT_LT(n, 10);
    }
    EXPECT_EQ(received, log);
    auto updates = m_control->TakeUpdates();
    EXPECT_EQ(updates.back(), (CFakeControl::Update{100, std::to_string(kSegment)}));

    // A long log takes more frames; an empty one a single empty frame.
    device.Events().AppendTestEvents(300);
    EXPECT_EQ(Decode(RequestFrame(m_scheduler, *m_dtm, factory, 27))->at(2), 1);
    EXPECT_EQ(Decode(RequestFrame(m_scheduler, *m_dtm, factory, 28))->at(2), 0); // 345 events
    device.Events().Clear();
    const auto empty = *Decode(RequestFrame(m_scheduler, *m_dtm, factory, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(empty.begin(), empty.begin() + 4),
              (std::vector<std::uint8_t>{39, 0, 0, 0}));

    // Another command prepares nothing.
    device.Events().AppendTestEvents(1);
    EXPECT_TRUE(device.Write(keys::kFrameNumber, "0"));
    EXPECT_TRUE(device.Write(kCommand, "41"));
    EXPECT_EQ(Decode(Split(*device.Read(kSegment)))->at(3), 0);
    EXPECT_TRUE(device.Write(kCommand, "39"));
    EXPECT_EQ(Decode(Split(*device.Read(kSegment)))->at(3), 10);
}

TEST_F(Buffers, FrameFaultSwitchesFalsifyThePreparedFrame) {
    CSimulatedPositioner& device = m_dtm->Positioner();
    SFrameFaults& faults = m_dtm->Faults().frames;
    const auto prepare = [&](int n) {
        device.Write(keys::kFrameNumber, std::to_string(n));
        device.Write(kCommand, "39");
        return Split(*device.Read(kSegment));
    };
    const auto header = [&](int n) {
        const auto bytes = *Decode(prepare(n));
        return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4);
    };
    ASSERT_EQ(header(1), (std::vector<std::uint8_t>{39, 1, 1, 120}));

    faults.wrongSeqIdFrames = {2};
    EXPECT_EQ(header(1), (std::vector<std::uint8_t>{39, 1, 1, 120}));
    EXPECT_EQ(header(2), (std::vector<std::uint8_t>{39, 3, 1, 120}));
    faults.wrongSeqIdFrames.clear();
    faults.wrongSeqIdAlways = true;
    EXPECT_EQ(header(0), (std::vector<std::uint8_t>{39, 1, 1, 120}));
    faults.wrongSeqIdAlways = false;

    faults.wrongType = true;
    EXPECT_EQ(header(3), (std::vector<std::uint8_t>{40, 3, 0, 50}));
    faults.wrongType = false;

    faults.nonHexadecimalWord = true;
    std::vector<std::string> texts = prepare(0);
    EXPECT_EQ(texts.size(), 62u);
    EXPECT_EQ(texts.back(), "ZZZZ");
    EXPECT_FALSE(Decode(texts));
    EXPECT_EQ(*Decode({texts[0], texts[1]}), (std::vector<std::uint8_t>{39, 0, 1, 120}));
    faults.nonHexadecimalWord = false;

    faults.wordOutOfRange = true;
    texts = prepare(0);
    EXPECT_EQ(texts.back(), "10000");
    EXPECT_FALSE(Decode(texts));
    faults.wordOutOfRange = false;

    faults.noAnswer = true;
    const std::string before = *device.Read(kSegment);
    prepare(2);
    EXPECT_EQ(*device.Read(kSegment), before) << "the previous frame stays";
    faults.noAnswer = false;
    EXPECT_EQ(header(2), (std::vector<std::uint8_t>{39, 2, 1, 120}));

    // A frame number that is not a whole number prepares nothing.
    EXPECT_FALSE(device.Buffers().Prepare(41));
    device.Store().Write(keys::kFrameNumber, "1.5");
    EXPECT_FALSE(device.Buffers().Prepare(39));
}

} // namespace
