#pragma once

#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"

#include <gmock/gmock.h>

#include <stdexcept>
#include <string>
#include <utility>

// A DTM whose GetControlData a test scripts; the other operations are never called here.
class CFakeParameterAccess : public ComObject<IDtmParameterAccess> {
public:
    MOCK_METHOD(HRESULT, GetControlData,
                (std::int32_t request, std::uint32_t parameterKey, std::int32_t* kind,
                 std::string* controlData),
                (override));
    MOCK_METHOD(HRESULT, SetParameterValue,
                (std::int32_t, std::uint32_t, const std::string&, std::string*), (override));
    MOCK_METHOD(HRESULT, ExecuteFunction,
                (std::int32_t, std::int32_t, const std::string&, VARIANT_BOOL*), (override));
    MOCK_METHOD(HRESULT, OpenContext, (const std::string&, std::int32_t*), (override));
};

// GetControlData answering `kind` and `document`.
inline auto Reply(std::int32_t kind, const std::string& document) {
    return ::testing::DoAll(::testing::SetArgPointee<2>(kind),
                            ::testing::SetArgPointee<3>(document), ::testing::Return(S_OK));
}

// "kind: text" of the exception `call` raises: kind is "invalid" for std::invalid_argument,
// "runtime" for std::runtime_error, "other" for anything else; "none" when nothing is raised.
template <class Call> std::string Failure(Call call) {
    try {
        call();
    } catch (const std::invalid_argument& e) {
        return std::string("invalid: ") + e.what();
    } catch (const std::runtime_error& e) {
        return std::string("runtime: ") + e.what();
    } catch (...) {
        return "other";
    }
    return "none";
}

// A control data document: one ControlData element with `attributes`, the common ones that
// `attributes` does not name, and the given children.
inline std::string ControlData(const std::string& attributes, const std::string& children = {}) {
    static const std::pair<const char*, const char*> common[] = {{"label", "Setpoint"},
                                                                 {"unit", "%"},
                                                                 {"name", "SP"},
                                                                 {"tooltip", "Target"},
                                                                 {"timestamp", "0001000200030004"},
                                                                 {"parameterType", "eprimitive"}};
    std::string all = attributes;
    for (const auto& [name, value] : common) {
        if (attributes.find(std::string(name) + "=") == std::string::npos) {
            all += std::string(" ") + name + "=\"" + value + "\"";
        }
    }
    return "<ControlData " + all + ">" + children + "</ControlData>";
}
