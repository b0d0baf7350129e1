#include "common/FixedParameterAccess.h"
#include "fdt/DtmInterfaces.h"
#include "model/EnumParameterDescriptor.h"
#include "model/ParameterDescriptionFactory.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string kNumericDocument =
    R"(<ControlData tag="19464192" label="Travel setpoint" unit="%" name="SP_TRAVEL" )"
    R"(value="42.5" tooltip="Setpoint of the valve travel" timestamp="2024031512300001" )"
    R"(parameterType="eprimitive" valueType="efloat" min="0" max="1E+2" enabled="true" )"
    R"(modified="false"><Validator type="numericRange_double" min="0" max="100"/></ControlData>)";

std::string EnumDocument() {
    std::string choices;
    for (int tag = 0; tag < 20; ++tag) {
        choices += "<Choice caption=\"Choice " + std::to_string(tag) + "\" tooltip=\"Tooltip " +
                   std::to_string(tag) + "\" tag=\"" + std::to_string(tag) + "\"/>";
    }
    return R"(<ControlData label="Actuator style" unit="" name="ACT_STYLE" value="7" )"
           R"(tooltip="Style of the actuator" timestamp="2024031512300001" )"
           R"(parameterType="eprimitive" valueType="eenum8"><ChoiceCollection>)" +
           choices + "</ChoiceCollection></ControlData>";
}

// Update of a cached descriptor: one DTM call, one document parse, every field re-read.
void Update(benchmark::State& state, std::int32_t kind, const std::string& document) {
    ComPtr<IDtmParameterAccess> dtm = MakeCom<CFixedParameterAccess>(document, kind);
    CParameterDescriptionFactory factory(dtm);
    IParameterDescription* descriptor = factory.GetParameterDescription(2, 19464192);
    for (auto _ : state) {
        descriptor->Update(2);
        benchmark::DoNotOptimize(descriptor->GetValue().data());
    }
}

void BM_NumericUpdate(benchmark::State& state) {
    Update(state, 0, kNumericDocument);
}
BENCHMARK(BM_NumericUpdate);

void BM_Enumeration20Update(benchmark::State& state) {
    Update(state, 2, EnumDocument());
}
BENCHMARK(BM_Enumeration20Update);

} // namespace
