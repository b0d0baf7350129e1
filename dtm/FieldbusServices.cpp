#include "dtm/FieldbusServices.h"

#include "dtm/DeviceModel.h"
#include "dtm/FaultSwitches.h"
#include "dtm/FieldbusDocuments.h"
#include "fdt/DtmFunctions.h"
#include "xml/Xml.h"

#include <algorithm>
#include <charconv>

namespace {

using ff_document::SErrorEntry;
using ff_document::SServiceError;

constexpr std::uint32_t kServiceModeKey = 0x01290000;
constexpr std::uint32_t kCommandStateKey = 0x015B0002;
constexpr std::uint32_t kDeviceRevisionKey = 0x01620000;
constexpr const char* kInService = "240";
constexpr const char* kFailureMode = "200";

// The service errors the positioner answers.
const SErrorEntry kApplicationReference{1, "ApplicationReference",
                                        "The addressed application is not known"};
const SErrorEntry kUnreachable{1, "ApplicationUnreachable",
                               "No device, VFD or block answers to the tag"};
const SErrorEntry kAccess{5, "Access", "Object access problem"};
const SErrorEntry kObjectNonExistent{7, "ObjectNonExistent",
                                     "The object dictionary has no object at this index"};
const SErrorEntry kOther{7, "Other", "The service failed for another reason"};
const SErrorEntry kNotCompleted{0, "Other", "The device did not complete the service"};

SServiceAnswer Good(std::int32_t functionId, std::string document) {
    return {dtm_update::kFirstServiceResult + (functionId - dtm_function::kSmIdentify),
            std::move(document)};
}

SServiceAnswer Error(const SServiceError& error) {
    return {dtm_update::kServiceError, ff_document::ServiceError(error)};
}

SServiceAnswer UnknownTag(const std::string& communicationReference, const std::string& tag) {
    return Error({communicationReference, kApplicationReference, kUnreachable, std::nullopt,
                  "Unknown tag '" + tag + "'"});
}

std::optional<std::uint32_t> ParseUnsigned(const std::string& text) {
    std::uint32_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

// "1" or "0"; anything else is not a flag.
std::optional<bool> ParseFlag(const std::string& text) {
    if (text == "1" || text == "0") {
        return text == "1";
    }
    return std::nullopt;
}

void AppendDescription(std::vector<std::uint8_t>& bytes, const SObjectDescription& object,
                       bool allAttributes) {
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(object.index >> 8),
                               static_cast<std::uint8_t>(object.index & 0xFF), object.objectCode,
                               static_cast<std::uint8_t>(object.dataType >> 8),
                               static_cast<std::uint8_t>(object.dataType & 0xFF), object.length});
    if (allAttributes) {
        bytes.push_back(static_cast<std::uint8_t>(object.name.size()));
        bytes.insert(bytes.end(), object.name.begin(), object.name.end());
    }
}

} // namespace

SFieldbusIdentity DefaultFieldbusIdentity() {
    SFieldbusIdentity identity;
    identity.physicalDeviceTag = "FV-101";
    identity.devId = "564C410700-VP700-0012345";
    identity.vendor = "Vela Automation";
    identity.modelName = "VP-700";
    identity.smCommunicationReference = "0";
    identity.vfds = {
        {"VP700_MIB",
         1,
         "1",
         1,
         {290, 291},
         {{0, 0, 0, 0, "OD"},
          {258, 9, 0x0200, 24, "SM_DIRECTORY"},
          {290, 9, 0x0201, 32, "VCR_LIST"}}},
        {"VP700_VFD",
         2,
         "2",
         3,
         {303, 304},
         {{0, 0, 0, 0, "OD"},
          {256, 9, 0x0100, 62, "RESOURCE"},
          {300, 9, 0x0101, 40, "TRANSDUCER"},
          {400, 9, 0x0102, 48, "AO"},
          {500, 9, 0x0103, 56, "PID"}}},
    };
    identity.applicationVfdTag = "VP700_VFD";
    identity.blocks = {{"VP700_RB", 256}, {"VP700_TB", 300}, {"VP700_AO", 400}, {"VP700_PID", 500}};
    return identity;
}

CFieldbusServices::CFieldbusServices(const CDeviceModel& store, const SFaultSwitches& faults,
                                     SFieldbusIdentity identity)
    : m_store(store), m_faults(faults), m_identity(std::move(identity)) {}

bool CFieldbusServices::IsService(std::int32_t functionId) {
    return functionId >= dtm_function::kSmIdentify && functionId <= dtm_function::kFmsIdentify;
}

std::optional<SServiceAnswer> CFieldbusServices::Perform(std::int32_t functionId,
                                                         const std::string& argument) const {
    if (m_faults.failServices && IsService(functionId)) {
        return Error({m_identity.smCommunicationReference, kOther, kNotCompleted, std::nullopt,
                      "Simulated bus fault"});
    }
    switch (functionId) {
    case dtm_function::kSmIdentify:
        return SmIdentify();
    case dtm_function::kSmFindTagQuery:
        return SmFindTag(argument);
    case dtm_function::kFmsStatus:
        return FmsStatus(argument);
    case dtm_function::kFmsGetOd:
        return FmsGetOd(argument);
    case dtm_function::kFmsIdentify:
        return FmsIdentify(argument);
    default:
        return std::nullopt;
    }
}

const SVirtualFieldDevice* CFieldbusServices::FindVfd(const std::string& tag) const {
    const auto it = std::ranges::find(m_identity.vfds, tag, &SVirtualFieldDevice::tag);
    return it != m_identity.vfds.end() ? &*it : nullptr;
}

SServiceAnswer CFieldbusServices::SmIdentify() const {
    return Good(dtm_function::kSmIdentify,
                ff_document::SmIdentify(m_identity.smCommunicationReference,
                                        {{m_identity.physicalDeviceTag, m_identity.devId}}));
}

std::optional<SServiceAnswer> CFieldbusServices::SmFindTag(const std::string& request) const {
    const xml::Document document = xml::Document::TryParse(request);
    if (!document || document.Root().Name() != "SmFindTag") {
        return std::nullopt;
    }
    const std::vector<xml::Node> queries = document.Root().Children();
    if (queries.size() != 1) {
        return std::nullopt;
    }
    const xml::Node& query = queries.front();
    const std::string tag = query.Attribute("@tag");
    const std::string& cr = m_identity.smCommunicationReference;
    const auto good = [](std::string reply) {
        return Good(dtm_function::kSmFindTagQuery, std::move(reply));
    };
    if (query.Name() == "SmQueryPhysicalDevice") {
        if (tag != m_identity.physicalDeviceTag) {
            return UnknownTag(cr, tag);
        }
        return good(ff_document::SmReplyPhysicalDevice(m_identity.devId));
    }
    if (query.Name() == "SmQueryVFD") {
        const std::string vfdTag = query.Attribute("@vfdtag");
        const SVirtualFieldDevice* vfd = FindVfd(vfdTag);
        if (tag != m_identity.physicalDeviceTag || vfd == nullptr) {
            return UnknownTag(cr, tag != m_identity.physicalDeviceTag ? tag : vfdTag);
        }
        return good(ff_document::SmReplyVfd(vfd->vfdRef, vfd->versionOd, false, vfd->vcrIndexes));
    }
    if (query.Name() == "SmQueryFB") {
        const auto block = std::ranges::find(m_identity.blocks, tag, &SFunctionBlockTag::tag);
        const SVirtualFieldDevice* vfd = FindVfd(m_identity.applicationVfdTag);
        if (block == m_identity.blocks.end() || vfd == nullptr) {
            return UnknownTag(cr, tag);
        }
        return good(ff_document::SmReplyFb(vfd->vfdRef, vfd->versionOd, block->index, false,
                                           vfd->vcrIndexes));
    }
    return std::nullopt;
}

SServiceAnswer CFieldbusServices::FmsStatus(const std::string& vfdTag) const {
    const SVirtualFieldDevice* vfd = FindVfd(vfdTag);
    if (vfd == nullptr) {
        return UnknownTag(m_identity.smCommunicationReference, vfdTag);
    }
    // The physical status follows the device: out of service it works only partly, in
    // failure mode not at all.
    std::string physical = "operational";
    if (m_store.Read(kCommandStateKey) == kFailureMode) {
        physical = "inoperable";
    } else if (m_store.Read(kServiceModeKey) != kInService) {
        physical = "partiallyOperational";
    }
    return Good(
        dtm_function::kFmsStatus,
        ff_document::FmsStatus(vfd->communicationReference, "stateChangesAllowed", physical, "00"));
}

std::optional<SServiceAnswer> CFieldbusServices::FmsGetOd(const std::string& request) const {
    const xml::Document document = xml::Document::TryParse(request);
    if (!document || document.Root().Name() != "FmsGetOdRequest") {
        return std::nullopt;
    }
    const xml::Node root = document.Root();
    const std::optional<bool> allAttributes = ParseFlag(root.Attribute("@allAttribute"));
    const std::optional<bool> startFlag = ParseFlag(root.Attribute("@bStartFlag"));
    const std::optional<std::uint32_t> index = ParseUnsigned(root.Attribute("@index"));
    if (!allAttributes || !startFlag || !index) {
        return std::nullopt;
    }
    const std::string vfdTag = root.Attribute("@vfdTag");
    const SVirtualFieldDevice* vfd = FindVfd(vfdTag);
    if (vfd == nullptr) {
        return UnknownTag(m_identity.smCommunicationReference, vfdTag);
    }
    const auto first = std::ranges::find(
        vfd->objects, *index, [](const SObjectDescription& o) { return std::uint32_t{o.index}; });
    if (first == vfd->objects.end()) {
        return Error({vfd->communicationReference, kAccess, kObjectNonExistent, *index, {}});
    }
    // With the start flag a list of descriptions from the index on, a few per response;
    // without it the one description.
    const std::size_t remaining = static_cast<std::size_t>(vfd->objects.end() - first);
    const std::size_t count = *startFlag ? std::min(remaining, kMaxDescriptionsPerResponse) : 1;
    std::vector<std::uint8_t> bytes;
    for (auto it = first; it != first + static_cast<std::ptrdiff_t>(count); ++it) {
        AppendDescription(bytes, *it, *allAttributes);
    }
    return Good(dtm_function::kFmsGetOd,
                ff_document::FmsGetOd(vfd->communicationReference, count < remaining && *startFlag,
                                      static_cast<std::uint32_t>(count),
                                      ff_document::HexBytes(bytes)));
}

SServiceAnswer CFieldbusServices::FmsIdentify(const std::string& vfdTag) const {
    const SVirtualFieldDevice* vfd = FindVfd(vfdTag);
    if (vfd == nullptr) {
        return UnknownTag(m_identity.smCommunicationReference, vfdTag);
    }
    return Good(dtm_function::kFmsIdentify,
                ff_document::FmsIdentify(vfd->communicationReference, m_identity.vendor,
                                         m_identity.modelName,
                                         m_store.Read(kDeviceRevisionKey).value_or("")));
}
