#include "server/FunctionCallSchema.h"

#include "server/ServerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A document of root FDT in `rootNamespace` holding `body`, with the FDT namespaces the
// calls below use bound to their usual prefixes.
std::string Document(const std::string& body,
                     const std::string& rootNamespace = "x-schema:DTMFunctionCallSchema.xml") {
    return R"(<FDT xmlns=")" + rootNamespace +
           R"(" xmlns:fct="x-schema:DTMFunctionsSchema.xml" )"
           R"(xmlns:fdt="x-schema:FDTDataTypesSchema.xml" )"
           R"(xmlns:appId="x-schema:FDTApplicationIdSchema.xml">)" +
           body + "</FDT>";
}

TEST(FunctionCallSchemaTest, AcceptsACallWithItsFunctionIdAndAnythingOfOtherNamespaces) {
    EXPECT_TRUE(CFunctionCallSchema::IsValid(kFunctionCall));
    for (const char* body : {
             R"(<FDTFunctionCall fct:functionId="1"/>)",
             R"(<FDTFunctionCall fdt:operationPhase="x" fct:functionId="x" appId:any="y">)"
             R"(<appId:FDTApplicationId><fdt:Free/></appId:FDTApplicationId>)"
             R"(<fdt:Other xmlns=""><Unchecked/></fdt:Other></FDTFunctionCall>)",
         }) {
        EXPECT_TRUE(CFunctionCallSchema::IsValid(Document(body))) << body;
    }
    // Prefixes are the document's choice; only the namespaces count.
    EXPECT_TRUE(CFunctionCallSchema::IsValid(
        R"(<c:FDT xmlns:c="x-schema:DTMFunctionCallSchema.xml" fdt:x="1" )"
        R"(xmlns:fdt="x-schema:FDTDataTypesSchema.xml" xmlns:f="x-schema:DTMFunctionsSchema.xml">)"
        R"(<c:FDTFunctionCall f:functionId="2"/></c:FDT>)"));
}

TEST(FunctionCallSchemaTest, RefusesWhatIsNotACallDocument) {
    for (const std::string& document : {
             std::string(),
             std::string("<FDT"),
             std::string("no xml"),
             Document(""),                                                   // no call
             Document(R"(<FDTFunctionCall/>)"),                              // no function id
             Document(R"(<FDTFunctionCall functionId="1"/>)"),               // id without namespace
             Document(R"(<FDTFunctionCall fdt:functionId="1"/>)"),           // id of another one
             Document(R"(<FDTFunctionCall fct:functionId="1" extra="2"/>)"), // own attribute
             Document(R"(<FDTFunctionCall fct:functionId="1"><Extra/></FDTFunctionCall>)"),
             Document(
                 R"(<FDTFunctionCall fct:functionId="1"/><FDTFunctionCall fct:functionId="2"/>)"),
             Document(R"(<FDTFunctionCall fct:functionId="1"/>)", "x-schema:Other.xml"),
             Document(R"(<FDTFunctionCall fct:functionId="1"/>)", ""),
         }) {
        EXPECT_FALSE(CFunctionCallSchema::IsValid(document)) << document;
    }
}

} // namespace
