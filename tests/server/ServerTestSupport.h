#pragma once

#include "com/ComObject.h"
#include "fdt/DtmInterfaces.h"

#include <gmock/gmock.h>

#include <cstdint>
#include <map>
#include <string>

// A function-call document as a frame sends it: the call's function id in the functions
// namespace, an operation phase and an application id from other FDT namespaces.
inline constexpr const char* kFunctionCall =
    R"(<FDT xmlns="x-schema:DTMFunctionCallSchema.xml" )"
    R"(xmlns:fct="x-schema:DTMFunctionsSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml" )"
    R"(xmlns:appId="x-schema:FDTApplicationIdSchema.xml">)"
    R"(<FDTFunctionCall fct:functionId="1" fdt:operationPhase="engineering">)"
    R"(<appId:FDTApplicationId applicationId="fdtOnlineParameterize"/>)"
    R"(</FDTFunctionCall></FDT>)";

// What the control asks of the DTM. The registration and state calls name the interface they
// came through ("IDtmUIRegistration" or "IDtmUIAccess").
class MockDtmCalls {
public:
    MOCK_METHOD(bool, RegisterUI,
                (const std::string& via, const std::string& progId, const std::string& invokeId,
                 IDtmActiveXControl* control));
    MOCK_METHOD(void, UnregisterUI,
                (const std::string& via, const std::string& invokeId, bool registered));
    MOCK_METHOD(std::string, GetStateDocument, (const std::string& via));
    MOCK_METHOD(void, ExecuteFunction,
                (std::int32_t request, std::int32_t functionId, const std::string& argument));
};

template <class Interface> constexpr const char* kInterfaceName = "";
template <> inline constexpr const char* kInterfaceName<IDtmUIRegistration> = "IDtmUIRegistration";
template <> inline constexpr const char* kInterfaceName<IDtmUIAccess> = "IDtmUIAccess";

// The registration and state operations that IDtmUIRegistration and IDtmUIAccess share,
// answered by the mock with the interface's name.
template <class Interface> class CRegistrationPart : public Interface {
public:
    HRESULT RegisterUI(const std::string& progId, const std::string& invokeId,
                       IDtmActiveXControl* control, VARIANT_BOOL enable,
                       VARIANT_BOOL* registered) override {
        EXPECT_EQ(enable, VARIANT_TRUE);
        const bool accepted =
            Calls().RegisterUI(kInterfaceName<Interface>, progId, invokeId, control);
        *registered = accepted ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT UnregisterUI(const std::string& invokeId, VARIANT_BOOL registered,
                         VARIANT_BOOL* result) override {
        Calls().UnregisterUI(kInterfaceName<Interface>, invokeId, registered != VARIANT_FALSE);
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT GetStateDocument(std::string* stateDocument) override {
        *stateDocument = Calls().GetStateDocument(kInterfaceName<Interface>);
        return S_OK;
    }

protected:
    virtual MockDtmCalls& Calls() = 0;
};

// A DTM as small as the control needs: registration and state through either registration
// interface (each can be withheld), named properties from a table (the DTM's texts included),
// and functions recorded by the mock. It keeps no reference to the control.
class CFakeDtm : public ComObject<CRegistrationPart<IDtmUIRegistration>,
                                  CRegistrationPart<IDtmUIAccess>, IDtmParameterAccess> {
public:
    static constexpr std::int32_t kContext = 7;

    CFakeDtm() {
        using ::testing::_;
        using ::testing::Return;
        ON_CALL(calls, RegisterUI(_, _, _, _)).WillByDefault(Return(true));
        ON_CALL(calls, GetStateDocument(_))
            .WillByDefault(Return(R"(<DtmState name="PV-101" state="Online"/>)"));
    }

    // The DTM object as the frame hands it to the control.
    IUnknown* Unknown() { return Identity(); }

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if ((riid == IDtmUIRegistration::Iid && !offerRegistration) ||
            (riid == IDtmUIAccess::Iid && !offerAccess)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return ComObject::QueryInterface(riid, object);
    }

    HRESULT GetProperty(const std::string& name, Variant* value) override {
        const auto found = properties.find(name);
        *value = found != properties.end() ? Variant(found->second) : Variant();
        return found != properties.end() ? S_OK : E_INVALIDARG;
    }
    HRESULT ShowUserDialog(const std::string&, const Variant&, VARIANT_BOOL* result) override {
        *result = VARIANT_TRUE;
        return S_OK;
    }

    HRESULT GetControlData(std::int32_t, std::uint32_t, std::int32_t*, std::string*) override {
        return E_NOTIMPL;
    }
    HRESULT SetParameterValue(std::int32_t, std::uint32_t, const std::string&,
                              std::string*) override {
        return E_NOTIMPL;
    }
    HRESULT ExecuteFunction(std::int32_t request, std::int32_t functionId,
                            const std::string& argument, VARIANT_BOOL* result) override {
        calls.ExecuteFunction(request, functionId, argument);
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT OpenContext(const std::string&, std::int32_t* context) override {
        *context = kContext;
        return S_OK;
    }

    ::testing::NiceMock<MockDtmCalls> calls;
    bool offerRegistration = true;
    bool offerAccess = true;
    std::map<std::string, std::string> properties;

protected:
    MockDtmCalls& Calls() override { return calls; }
};
