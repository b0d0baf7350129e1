// Arbitrary bytes as a fieldbus service response: classified, read by every record getter and
// turned into the display text. Only the documented errors may come out, never a crash.
#include "fieldbus/ResponseDump.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace {

// Runs one step; its documented failure must not keep the next step from running.
template <class Step> void Try(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

template <class Record, class Getter> void Fill(const CFFXmlWrapper& wrapper, Getter getter) {
    Try([&] {
        Record record;
        (wrapper.*getter)(record);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFFXmlWrapper wrapper;
    Try([&] { wrapper.LoadResponse({reinterpret_cast<const char*>(data), size}); });
    Fill<CFmsServiceError>(wrapper, &CFFXmlWrapper::GetFmsServiceError);
    Fill<CFmsStatusResponse>(wrapper, &CFFXmlWrapper::GetFmsStatusResponse);
    Fill<CFmsIdentifyResponse>(wrapper, &CFFXmlWrapper::GetFmsIdentifyResponse);
    Fill<CFmsGetOdResponse>(wrapper, &CFFXmlWrapper::GetFmsGetOdResponse);
    Fill<CSmIdentifyResponse>(wrapper, &CFFXmlWrapper::GetSmIdentifyResponse);
    Fill<CSmReplyPhysicalDevice>(wrapper, &CFFXmlWrapper::GetSmReplyPhysicalDevice);
    Fill<CSmReplyVFD>(wrapper, &CFFXmlWrapper::GetSmReplyVfd);
    Fill<CSmReplyFB>(wrapper, &CFFXmlWrapper::GetSmReplyFb);
    const ServiceTextSource texts = [](const std::string& key) -> std::optional<std::string> {
        return key.size() % 2 == 0 ? std::optional(key) : std::nullopt;
    };
    Try([&] { CResponseDump::Of(wrapper, texts); });
    return 0;
}
