#pragma once

// The contract between the online view control, the FDT frame application and the DTM.
//
// The frame creates the control and talks to it through IDtmActiveXControl. The DTM object
// that the frame hands to Init offers IDtmUIRegistration (preferred) or IDtmUIAccess, and
// IDtmParameterAccess; it reports changes back through the control's IUpdateUI.
//
// Conventions, as COM passes them: every operation answers an HRESULT; strings are UTF-8,
// passed in as `const std::string&` and out as `std::string*`; automation values are
// `Variant`; booleans crossing the interface are VARIANT_BOOL. Out pointers must not be null
// (an implementation answers E_POINTER otherwise). Parameter keys are the 32-bit numbers
// of the device parameters (block, relative index, element); requests are either 2 or the
// DTM context number that OpenContext answered.
//
// Operations are declared in the order of their positions after the dispatch methods.

#include "com/Unknown.h"
#include "com/Variant.h"
#include "fdt/DtmFunctions.h"

#include <cstdint>
#include <string>

// The FDT 1.x type library that supplies IDtmActiveXControl (version 1.20100).
inline constexpr GUID LIBID_Fdt100 = MakeGuid("{036D1471-387B-11D4-86E1-00E0987270B9}");

// The control as the frame sees it (FDT 1.x, public interface id).
class IDtmActiveXControl : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{036D1486-387B-11D4-86E1-00E0987270B9}");

    // Hands the control its DTM. `functionCall` is the function-call document; `dtm` the
    // DTM object. Answers S_OK in every case; the outcome is in `result`.
    virtual HRESULT Init(const std::string& invokeId, const std::string& functionCall,
                         IUnknown* dtm, VARIANT_BOOL* result) = 0;
    // `result` true: the frame may release the control; false: ask again later.
    virtual HRESULT PrepareToRelease(VARIANT_BOOL* result) = 0;
};

// Called by the DTM when something changed. The control takes `data` as text, swallows
// every failure on the way and always answers S_OK.
class IUpdateUI : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{44636A08-A552-402F-85DF-212E3752314E}");

    virtual HRESULT UpdateUI(std::int32_t updateType, const Variant& data) = 0;
};

// Registration of the user interface with the DTM; the interface the control asks for first.
class IDtmUIRegistration : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{0562BE77-010D-4FED-A842-F4A0F6F8A334}");

    // `control` is the control's own IDtmActiveXControl; the control passes VARIANT_TRUE as
    // `enable`. `registered` answers whether the DTM accepted the user interface.
    virtual HRESULT RegisterUI(const std::string& progId, const std::string& invokeId,
                               IDtmActiveXControl* control, VARIANT_BOOL enable,
                               VARIANT_BOOL* registered) = 0;
    // `registered` is what RegisterUI answered; `result` is not read by the control.
    virtual HRESULT UnregisterUI(const std::string& invokeId, VARIANT_BOOL registered,
                                 VARIANT_BOOL* result) = 0;
    // The state document: any XML whose attributes name, state, dataSetState, userLevel,
    // isPrivateDialogEnabled, isCommunicating and modifiedInDevice are read wherever they are.
    virtual HRESULT GetStateDocument(std::string* stateDocument) = 0;
};

// The DTM's user-interface services; the control falls back on it for registration.
class IDtmUIAccess : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{A12F9A50-2F2B-4AE8-A02C-4F92EFE813ED}");

    virtual HRESULT GetStateDocument(std::string* stateDocument) = 0;
    // A named property of the DTM ("VFDTag", "DeviceImagePath", "CompanyLogoPath",
    // "DeviceCategory", "Manufacturer", "BrandLogoPath", ...), read as text.
    virtual HRESULT GetProperty(const std::string& name, Variant* value) = 0;
    // The DTM shows a dialog of its own: `dialogKind` is "InformationDialog",
    // "HealthInformationDialog", "TestPrint" or "ShowHelp"; `result` is not read.
    virtual HRESULT ShowUserDialog(const std::string& dialogKind, const Variant& message,
                                   VARIANT_BOOL* result) = 0;
    virtual HRESULT RegisterUI(const std::string& progId, const std::string& invokeId,
                               IDtmActiveXControl* control, VARIANT_BOOL enable,
                               VARIANT_BOOL* registered) = 0;
    virtual HRESULT UnregisterUI(const std::string& invokeId, VARIANT_BOOL registered,
                                 VARIANT_BOOL* result) = 0;
};

// Reads, writes and functions of the device parameters.
class IDtmParameterAccess : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{2059FB7E-3107-4A14-BE80-BBB759DFA613}");

    // The control data document of one parameter and the kind of descriptor to build for it.
    virtual HRESULT GetControlData(std::int32_t request, std::uint32_t parameterKey,
                                   std::int32_t* kind, std::string* controlData) = 0;
    // Changes the DTM's copy of a parameter (function 5 writes it to the device). `response`
    // is empty on success and the DTM's error text otherwise.
    virtual HRESULT SetParameterValue(std::int32_t request, std::uint32_t parameterKey,
                                      const std::string& value, std::string* response) = 0;
    // Runs a DTM function (4 reads the parameter whose decimal key is `argument`, 5 writes it
    // to the device, 11 to 15 are fieldbus services); `result` is not read by the control.
    virtual HRESULT ExecuteFunction(std::int32_t request, std::int32_t functionId,
                                    const std::string& argument, VARIANT_BOOL* result) = 0;
    // Opens the DTM context for the function-call document; answers the context number.
    virtual HRESULT OpenContext(const std::string& functionCall, std::int32_t* context) = 0;
};
