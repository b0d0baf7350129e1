#include "dtm/BufferServer.h"

#include "dtm/DeviceModel.h"
#include "dtm/FaultSwitches.h"
#include "dtm/FrameBuilder.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

std::optional<std::uint32_t> FrameNumber(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size() || !std::isfinite(value) || value < 0 ||
        value > 65535 || value != std::floor(value)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

void CBufferServer::Register(std::uint8_t type, std::size_t recordSize, Source source) {
    m_buffers[type] = [type, recordSize, source = std::move(source)](std::uint32_t frameNumber) {
        return frames::ToWords(frames::BuildFrame(type, source(), recordSize, frameNumber));
    };
}

void CBufferServer::RegisterValues(std::uint8_t type, ValueSource source) {
    m_buffers[type] = [type, source = std::move(source)](std::uint32_t frameNumber) {
        return frames::BuildValueFrame(type, source(), frameNumber);
    };
}

bool CBufferServer::Prepare(std::uint8_t type) {
    const std::optional<std::uint32_t> frameNumber = FrameNumber(m_store.Read(kFrameNumberKey));
    if (!Serves(type) || !frameNumber) {
        return false;
    }
    if (m_faults.noAnswer) {
        return true;
    }
    return m_store.Write(kSegmentKey, FrameText(type, *frameNumber));
}

std::string CBufferServer::FrameText(std::uint8_t type, std::uint32_t frameNumber) const {
    const auto it = m_buffers.find(type);
    if (it == m_buffers.end()) {
        return {};
    }
    // Both kinds start with Type in the low byte of word 0 and SeqID in its high byte.
    std::vector<std::uint16_t> words = it->second(frameNumber);
    const auto bump = [](std::uint16_t byte) {
        return static_cast<std::uint16_t>((byte + 1) & 0xFF);
    };
    std::uint16_t frameType = words[0] & 0xFF;
    std::uint16_t seqId = words[0] >> 8;
    if (m_faults.wrongType) {
        frameType = bump(frameType);
    }
    if (m_faults.WrongSeqId(frameNumber)) {
        seqId = bump(seqId);
    }
    words[0] = static_cast<std::uint16_t>(frameType | seqId << 8);
    std::vector<std::string> texts = frames::WordTexts(words);
    if (m_faults.nonHexadecimalWord) {
        texts.back() = "ZZZZ";
    }
    if (m_faults.wordOutOfRange) {
        texts.back() = "10000";
    }
    return frames::JoinWords(texts);
}
