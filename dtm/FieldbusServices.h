#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDeviceModel;
struct SFaultSwitches;

// One object description of a virtual field device's object dictionary.
struct SObjectDescription {
    std::uint16_t index = 0;
    std::uint8_t objectCode = 0;
    std::uint16_t dataType = 0;
    std::uint8_t length = 0;
    std::string name; // sent only with all attributes
};

// A virtual field device (VFD) of the positioner and its small object dictionary.
struct SVirtualFieldDevice {
    std::string tag;
    std::uint32_t vfdRef = 0;
    std::string communicationReference;
    std::int16_t versionOd = 0;
    std::vector<std::uint32_t> vcrIndexes;   // the index list of the find-tag replies
    std::vector<SObjectDescription> objects; // in rising index order
};

struct SFunctionBlockTag {
    std::string tag;
    std::uint32_t index = 0; // the block's object index in the application VFD
};

// What the positioner tells the fieldbus about itself.
struct SFieldbusIdentity {
    std::string physicalDeviceTag;
    std::string devId;
    std::string vendor;
    std::string modelName;
    std::string smCommunicationReference;
    std::vector<SVirtualFieldDevice> vfds;
    std::string applicationVfdTag; // the VFD that holds the function blocks
    std::vector<SFunctionBlockTag> blocks;
};

// The Vela VP-700's identity; its application VFD tag is the DTM's "VFDTag" property.
SFieldbusIdentity DefaultFieldbusIdentity();

// The answer of a fieldbus service: update type and response document.
struct SServiceAnswer {
    std::int32_t updateType = 0;
    std::string document;
};

// The system management (SM) and FMS services of the positioner (DTM functions 11 to 15).
// A good response answers with update type 600 + (function - 11), a service error with 605:
// an unknown VFD, physical device or block tag, an OD index outside the object dictionary,
// or any service while the fault switch failServices is on.
class CFieldbusServices {
public:
    static constexpr std::size_t kMaxDescriptionsPerResponse = 3;

    CFieldbusServices(const CDeviceModel& store, const SFaultSwitches& faults,
                      SFieldbusIdentity identity = DefaultFieldbusIdentity());

    static bool IsService(std::int32_t functionId);
    // Nothing when the request text is not a request of this service (a find-tag or GetOD
    // argument that is not its request document); the call is refused then.
    std::optional<SServiceAnswer> Perform(std::int32_t functionId,
                                          const std::string& argument) const;

    const SFieldbusIdentity& Identity() const { return m_identity; }

private:
    const SVirtualFieldDevice* FindVfd(const std::string& tag) const;
    SServiceAnswer SmIdentify() const;
    std::optional<SServiceAnswer> SmFindTag(const std::string& request) const;
    SServiceAnswer FmsStatus(const std::string& vfdTag) const;
    std::optional<SServiceAnswer> FmsGetOd(const std::string& request) const;
    SServiceAnswer FmsIdentify(const std::string& vfdTag) const;

    const CDeviceModel& m_store;
    const SFaultSwitches& m_faults;
    SFieldbusIdentity m_identity;
};
