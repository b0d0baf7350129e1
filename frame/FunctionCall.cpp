#include "FunctionCall.h"

std::string FunctionCallDocument(int functionId) {
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FDT xmlns=\"") +
           function_call::kCallNamespace + "\" xmlns:fct=\"" + function_call::kFunctionsNamespace +
           "\">\n  <FDTFunctionCall fct:functionId=\"" + std::to_string(functionId) +
           "\"/>\n</FDT>\n";
}
