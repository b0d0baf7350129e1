#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The response documents of the fieldbus services as the simulated DTM writes them: FMS
// elements and attributes carry the prefixes fms, fdt and fftypes, SM elements none. Every
// value is escaped, so a document carries it as given.
namespace ff_document {

// A class or code of a service error with its name and descriptor.
struct SErrorEntry {
    std::int32_t number = 0;
    std::string name;
    std::string descriptor;
};

struct SServiceError {
    std::string communicationReference;
    SErrorEntry errorClass;
    SErrorEntry errorCode;
    // The object the error concerns; an error about no object is written as a common error.
    std::optional<std::uint32_t> odIndex;
    std::string additionalDescription; // left out when empty
};
std::string ServiceError(const SServiceError& error);

std::string FmsStatus(const std::string& communicationReference, const std::string& logicalStatus,
                      const std::string& physicalStatus, const std::string& localDetail);
std::string FmsIdentify(const std::string& communicationReference, const std::string& vendor,
                        const std::string& modelName, const std::string& revision);
// `objectDescriptions` as the DTM's byte array text: two hexadecimal digits per byte.
std::string FmsGetOd(const std::string& communicationReference, bool moreFollows,
                     std::uint32_t numberOfObjectDescriptions,
                     const std::string& objectDescriptions);

// (physical device tag, device id) per device that answered.
std::string SmIdentify(const std::string& communicationReference,
                       const std::vector<std::pair<std::string, std::string>>& devices);
std::string SmReplyPhysicalDevice(const std::string& devId);
std::string SmReplyVfd(std::uint32_t vfdRef, std::int16_t versionOd, bool moreVcrl,
                       const std::vector<std::uint32_t>& indexList);
std::string SmReplyFb(std::uint32_t vfdRef, std::int16_t versionOd, std::uint32_t index,
                      bool moreVcrl, const std::vector<std::uint32_t>& indexList);

// Two upper-case hexadecimal digits per byte.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

} // namespace ff_document
