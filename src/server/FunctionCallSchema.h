#pragma once

#include <string_view>

// The function-call document that the frame hands to Init: root `FDT` of the namespace
// "x-schema:DTMFunctionCallSchema.xml" holding one `FDTFunctionCall` that names its function
// by the attribute `functionId` of the namespace "x-schema:DTMFunctionsSchema.xml". The
// schema is the module's resource ":/schema/DTMFunctionCallSchema.xsd", parsed once.
class CFunctionCallSchema {
public:
    static constexpr std::string_view kNamespace = "x-schema:DTMFunctionCallSchema.xml";
    static constexpr std::string_view kFunctionsNamespace = "x-schema:DTMFunctionsSchema.xml";

    // True when the text loads as XML, validates against the schema and the call carries its
    // function id. Never throws: a schema that cannot be had makes every document invalid.
    static bool IsValid(std::string_view document) noexcept;
};
