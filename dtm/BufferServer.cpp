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
    m_buffers[type] = SBuffer{recordSize, std::move(source)};
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
    const std::vector<std::uint8_t> buffer = it->second.source();
    std::vector<std::uint8_t> bytes =
        frames::BuildFrame(type, buffer, it->second.recordSize, frameNumber);
    if (m_faults.wrongType) {
        ++bytes[0];
    }
    if (m_faults.WrongSeqId(frameNumber)) {
        ++bytes[1];
    }
    std::vector<std::string> texts = frames::WordTexts(frames::ToWords(bytes));
    if (m_faults.nonHexadecimalWord) {
        texts.back() = "ZZZZ";
    }
    if (m_faults.wordOutOfRange) {
        texts.back() = "10000";
    }
    return frames::JoinWords(texts);
}
