#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The enumerations that fieldbus service responses carry. The enumerators and their names are
// the keywords the DTM writes into its documents, in value order from 0 (the misspelt
// "mutipleResponsefromWhoHasPDTag" included). Each enumeration has a name table: reading a
// name gives its position, and a name that matches none of the earlier entries gives the last
// entry; a value outside the table has the empty text as its name.

enum class FmsLogicalStatus : std::uint8_t {
    stateChangesAllowed,
    limitedServicesPermitted,
    odLoadingNonInteracting,
    odLoadingInteracting,
};

enum class FmsPhysicalStatus : std::uint8_t {
    operational,
    partiallyOperational,
    inoperable,
    needsCommissioning,
};

// The reason code of a system management service.
enum class SmServiceResult : std::uint8_t {
    success,
    serviceNotSupported,
    invalidParameter,
    errorDLLInsufficientResources,
    errorDLLSendingQueueFull,
    errorDLLErrorTimeOutBeforeTransmission,
    errorDLLReasonUnspecified,
    deviceFailedRespondSetPDTag,
    deviceFailedRespondWhoHasPDTag,
    deviceFailedRespondSetAddress,
    deviceFailedRespondIdentify,
    deviceFailedRespondEnableSMOp,
    deviceFailedRespondClearAddress,
    mutipleResponsefromWhoHasPDTag,
    nonMatchingPDTagfromWhoHasPDTag,
    nonMatchingPDTagfromIdentify,
    nonMatchingdevIDfromIdentify,
    remoteErrorInvalidState,
    remoteErrorPDTagMatch,
    remoteErrordevIDMatch,
    remoteErrorSMIBWriteFailed,
    remoteErrorStartingSMOperational,
};

enum class SmService : std::uint8_t {
    SmSetPDTag,
    SmSetAddress,
    SmClearAddress,
    SmIdentify,
    SmFindTagQuery,
    SmClearAssignmentInfo,
    SmSetAssignmentInfo,
};

enum class SmFindTagQueryType : std::uint8_t {
    queryPrimaryPD,
    queryVFD,
    queryFB,
    queryElementId,
    queryVFDRef,
    queryDeviceIndex,
    querySecondaryPD,
};

enum class DeviceClass : std::uint8_t {
    linkingDevice,
    ioGateway,
    hseFieldDevice,
    h1Device,
};

enum class ConnectOption : std::uint8_t {
    VCRSelector,
    NMAAccess,
    FBAPConnect,
};

enum class AbortIdentifier : std::uint8_t {
    FMSUSER,
    FMS,
    FAS,
    DLL,
};

enum class ConfirmedResponseType : std::uint8_t {
    FmsWrite,
    FmsDeleteVariableList,
    FmsGenericInitiateDownloadSequence,
    FmsGenericDownloadSegment,
    FmsAbort,
};

// The name table of each enumeration, in value order.
template <class E> struct FFNameTable;

template <> struct FFNameTable<FmsLogicalStatus> {
    static constexpr std::array<std::string_view, 4> names{
        "stateChangesAllowed", "limitedServicesPermitted", "odLoadingNonInteracting",
        "odLoadingInteracting"};
};

template <> struct FFNameTable<FmsPhysicalStatus> {
    static constexpr std::array<std::string_view, 4> names{"operational", "partiallyOperational",
                                                           "inoperable", "needsCommissioning"};
};

template <> struct FFNameTable<SmServiceResult> {
    static constexpr std::array<std::string_view, 22> names{
        "success",
        "serviceNotSupported",
        "invalidParameter",
        "errorDLLInsufficientResources",
        "errorDLLSendingQueueFull",
        "errorDLLErrorTimeOutBeforeTransmission",
        "errorDLLReasonUnspecified",
        "deviceFailedRespondSetPDTag",
        "deviceFailedRespondWhoHasPDTag",
        "deviceFailedRespondSetAddress",
        "deviceFailedRespondIdentify",
        "deviceFailedRespondEnableSMOp",
        "deviceFailedRespondClearAddress",
        "mutipleResponsefromWhoHasPDTag",
        "nonMatchingPDTagfromWhoHasPDTag",
        "nonMatchingPDTagfromIdentify",
        "nonMatchingdevIDfromIdentify",
        "remoteErrorInvalidState",
        "remoteErrorPDTagMatch",
        "remoteErrordevIDMatch",
        "remoteErrorSMIBWriteFailed",
        "remoteErrorStartingSMOperational"};
};

template <> struct FFNameTable<SmService> {
    static constexpr std::array<std::string_view, 7> names{
        "SmSetPDTag",     "SmSetAddress",          "SmClearAddress",     "SmIdentify",
        "SmFindTagQuery", "SmClearAssignmentInfo", "SmSetAssignmentInfo"};
};

template <> struct FFNameTable<SmFindTagQueryType> {
    static constexpr std::array<std::string_view, 7> names{
        "queryPrimaryPD", "queryVFD",         "queryFB",         "queryElementId",
        "queryVFDRef",    "queryDeviceIndex", "querySecondaryPD"};
};

template <> struct FFNameTable<DeviceClass> {
    static constexpr std::array<std::string_view, 4> names{"linkingDevice", "ioGateway",
                                                           "hseFieldDevice", "h1Device"};
};

template <> struct FFNameTable<ConnectOption> {
    static constexpr std::array<std::string_view, 3> names{"VCRSelector", "NMAAccess",
                                                           "FBAPConnect"};
};

template <> struct FFNameTable<AbortIdentifier> {
    static constexpr std::array<std::string_view, 4> names{"FMSUSER", "FMS", "FAS", "DLL"};
};

template <> struct FFNameTable<ConfirmedResponseType> {
    static constexpr std::array<std::string_view, 5> names{"FmsWrite", "FmsDeleteVariableList",
                                                           "FmsGenericInitiateDownloadSequence",
                                                           "FmsGenericDownloadSegment", "FmsAbort"};
};

// The value of a name; a name that is in none of the earlier entries gives the last entry.
template <class E> E ParseFFName(std::string_view name) {
    constexpr auto& names = FFNameTable<E>::names;
    std::size_t position = 0;
    while (position + 1 < names.size() && names[position] != name) {
        ++position;
    }
    return static_cast<E>(position);
}

// The name of a value, or the empty text for a value outside the table.
template <class E> std::string_view FormatFFName(E value) {
    constexpr auto& names = FFNameTable<E>::names;
    const auto position = static_cast<std::size_t>(value);
    return position < names.size() ? names[position] : std::string_view();
}
