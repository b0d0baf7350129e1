#include "fieldbus/ResponseDump.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

const std::string kNamespaces = R"(xmlns:fms="x-schema:FMSSchema.xml" )"
                                R"(xmlns:fdt="x-schema:FDTDataTypesSchema.xml" )"
                                R"(xmlns:fftypes="x-schema:FFTypesSchema.xml")";

const std::string kSmIdentify =
    "<SmIdentifyResponse " + kNamespaces + R"( fftypes:communicationReference="7">)" +
    R"(<SmIdentifyResponseEntry fdt:tag="PT-101" fftypes:devID="0011223344556677"/>)"
    R"(<SmIdentifyResponseEntry fdt:tag="FV-102" fftypes:devID="0011223344556688"/>)"
    R"(<SmIdentifyResponseEntry fdt:tag="TT-103" fftypes:devID="0011223344556699"/>)"
    R"(</SmIdentifyResponse>)";

const std::string kServiceError =
    "<FFResponse " + kNamespaces +
    R"(><fms:FmsServiceError fftypes:communicationReference="17" fdt:index="1024">)"
    R"(<fms:ErrorType errorClass="6" errorCode="5"/></fms:FmsServiceError></FFResponse>)";

// The service error texts as a text provider hands them out.
std::optional<std::string> ServiceErrorText(const std::string& key) {
    return "text of " + key;
}

// One response as a view handles it: classified, then turned into its display text.
void ClassifyAndDump(benchmark::State& state, const std::string& response) {
    CFFXmlWrapper wrapper;
    for (auto _ : state) {
        wrapper.LoadResponse(response);
        CResponseDump dump = CResponseDump::Of(wrapper, ServiceErrorText);
        benchmark::DoNotOptimize(dump);
    }
}

void BM_SmIdentifyThreeEntries(benchmark::State& state) {
    ClassifyAndDump(state, kSmIdentify);
}
BENCHMARK(BM_SmIdentifyThreeEntries);

void BM_FmsServiceError(benchmark::State& state) {
    ClassifyAndDump(state, kServiceError);
}
BENCHMARK(BM_FmsServiceError);

} // namespace
