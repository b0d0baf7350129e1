#pragma once

#include "DtmTestSupport.h"
#include "model/NumericParameterDescriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// What the valve test programs share: the command element, frames read back word by word and
// tests run to their end on the manual scheduler.

inline constexpr std::uint32_t kCommand = 0x015B0001;
inline constexpr std::uint32_t kSegment = 0x01650000;

// The words of a segment text as 16-bit numbers; texts that are no hex word read as -1.
inline std::vector<int> Words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<int> words;
    for (std::string part; stream >> part;) {
        unsigned word = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), word, 16);
        words.push_back(error == std::errc() && end == part.data() + part.size() && word <= 0xFFFF
                            ? static_cast<int>(word)
                            : -1);
    }
    return words;
}

class ValveTestFixture : public DtmTest {
protected:
    ValveTestFixture() { Device().Write(keys::kServiceMode, "241"); } // tests run out of service

    CSimulatedPositioner& Device() { return m_dtm->Positioner(); }
    std::string State() { return *Device().Read(keys::kCommandState); }
    void Command(int value) { Device().Write(kCommand, std::to_string(value)); }

    // Frame `n` of result buffer `type` as the device prepares it.
    std::vector<int> Frame(int type, int n) {
        Device().Write(keys::kFrameNumber, std::to_string(n));
        Command(type);
        return Words(*Device().Read(kSegment));
    }

    // The whole buffer `type` frame by frame, checking each frame's header and that the
    // frames end with the buffer: `count` values in `frames` frames.
    std::vector<std::int16_t> Upload(int type, std::size_t count, int frames) {
        std::vector<std::int16_t> values;
        for (int n = 0; n < frames + 1; ++n) {
            const std::vector<int> words = Frame(type, n);
            EXPECT_EQ(words.size(), 62u);
            EXPECT_EQ(words[0], type | n << 8) << "frame " << n;
            for (std::size_t i = 1; i < words.size(); ++i) {
                values.push_back(static_cast<std::int16_t>(words[i]));
            }
        }
        EXPECT_EQ(values.size(), 61u * static_cast<std::size_t>(frames + 1));
        EXPECT_TRUE(std::all_of(values.begin() + static_cast<long>(count), values.end(),
                                [](std::int16_t v) { return v == 0; }))
            << "zero beyond the buffer and in the frame beyond the last";
        values.resize(count);
        return values;
    }

    // Runs a test to its end: in progress at once, `end` (finished) after exactly `durationMs`.
    void Run(int command, std::int64_t durationMs, const char* end = "2") {
        Command(command);
        EXPECT_EQ(State(), "1");
        m_scheduler.AdvanceBy(durationMs - 1);
        EXPECT_EQ(State(), "1") << "not before the profile's end";
        m_scheduler.AdvanceBy(1);
        EXPECT_EQ(State(), end);
    }

    // The limits of a numeric parameter as the views' descriptors give them, "min..max".
    std::string Limits(std::uint32_t key) {
        Fetch(key); // builds the factory
        const auto& numeric = dynamic_cast<const CNumericParameterDescriptor&>(
            *m_factory->GetParameterDescription(2, key));
        return numeric.GetMin() + ".." + numeric.GetMax();
    }
};
