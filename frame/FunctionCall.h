#pragma once

#include <string>

// The function-call document the frame hands the control with Init, as FDT 1.2 frames write
// it: root `FDT` in the namespace "x-schema:DTMFunctionCallSchema.xml" holding one
// `FDTFunctionCall` whose `functionId` attribute belongs to "x-schema:DTMFunctionsSchema.xml".
namespace function_call {
inline constexpr const char* kCallNamespace = "x-schema:DTMFunctionCallSchema.xml";
inline constexpr const char* kFunctionsNamespace = "x-schema:DTMFunctionsSchema.xml";
// The DTM's function that opens its online and diagnosis user interface.
inline constexpr int kOnlineDiagnosisFunctionId = 1;
} // namespace function_call

std::string FunctionCallDocument(int functionId = function_call::kOnlineDiagnosisFunctionId);
