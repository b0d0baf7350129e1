#pragma once

#include "TestPaths.h"
#include <fstream>
#include <sstream>
#include <string>

// The text of the exception of type E that `call` throws, or "" when it throws none. An
// exception of another type passes through and fails the test.
template <class E, class Call> std::string ErrorOf(Call call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

// Response documents as the DTM writes them, one per response type: the fuzzer's seeds.
namespace Docs {

inline std::string Read(const std::string& name) {
    std::ifstream file(std::string(FIELDBUS_RESPONSES_DIR) + "/" + name);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline const std::string kNs = R"(xmlns:fms="x-schema:FMSSchema.xml" )"
                               R"(xmlns:fdt="x-schema:FDTDataTypesSchema.xml" )"
                               R"(xmlns:fftypes="x-schema:FFTypesSchema.xml")";

// Class 6, code 5 without a description, about object 1024.
inline const std::string kServiceError = Read("03_service_error.xml");
// A common error that describes itself; its index attribute concerns no object.
inline const std::string kDescribedCommonError = Read("03_service_error_described.xml");
inline const std::string kStatus = Read("04_status.xml");
inline const std::string kIdentify = Read("05_identify.xml");
inline const std::string kGetOd = Read("06_get_od.xml");
inline const std::string kSmIdentify = Read("07_sm_identify.xml");
inline const std::string kPhysicalDevice = Read("08_physical_device.xml");
inline const std::string kVfd = Read("09_vfd.xml");
inline const std::string kFb = Read("10_fb.xml");

} // namespace Docs
