#include "dtm/FieldbusDocuments.h"

#include "xml/Xml.h"

namespace ff_document {

namespace {

constexpr const char* kNamespaces = R"( xmlns:fms="x-schema:FMSSchema.xml")"
                                    R"( xmlns:fdt="x-schema:FDTDataTypesSchema.xml")"
                                    R"( xmlns:fftypes="x-schema:FFTypesSchema.xml")";

// One element written as text: its start tag collects attributes, its content children.
class CElement {
public:
    explicit CElement(std::string name, bool declareNamespaces = false)
        : m_name(std::move(name)), m_start("<" + m_name + (declareNamespaces ? kNamespaces : "")) {}

    CElement& Set(const char* attribute, const std::string& value) {
        m_start += " " + std::string(attribute) + "=\"" + xml::Escape(value) + "\"";
        return *this;
    }
    CElement& Set(const char* attribute, std::int64_t value) {
        return Set(attribute, std::to_string(value));
    }
    CElement& Add(const CElement& child) {
        m_content += child.Text();
        return *this;
    }
    std::string Text() const {
        return m_content.empty() ? m_start + "/>" : m_start + ">" + m_content + "</" + m_name + ">";
    }
    std::string Document() const { return "<?xml version=\"1.0\"?>\n" + Text(); }

private:
    std::string m_name;
    std::string m_start;
    std::string m_content;
};

const char* Flag(bool on) {
    return on ? "1" : "0";
}

CElement Entry(const SErrorEntry& entry) {
    CElement element("fdt:EnumeratorEntry");
    element.Set("index", entry.number).Set("name", entry.name);
    if (!entry.descriptor.empty()) {
        element.Set("descriptor", entry.descriptor);
    }
    return element;
}

CElement IndexList(const std::vector<std::uint32_t>& indexList) {
    CElement list("fftypes:IndexList");
    for (const std::uint32_t index : indexList) {
        list.Add(CElement("fftypes:Index").Set("fdt:index", index));
    }
    return list;
}

} // namespace

std::string ServiceError(const SServiceError& error) {
    CElement root("fms:FmsServiceError", true);
    root.Set("fftypes:communicationReference", error.communicationReference);
    if (error.odIndex) {
        root.Set("fdt:index", *error.odIndex);
    }
    CElement type(error.odIndex ? "fms:ErrorType" : "fms:CommonErrorType");
    type.Set("errorClass", error.errorClass.number).Set("errorCode", error.errorCode.number);
    if (!error.additionalDescription.empty()) {
        type.Set("additionalDescription", error.additionalDescription);
    }
    root.Add(type);
    root.Add(
        CElement("fms:ErrorDescription").Add(Entry(error.errorClass)).Add(Entry(error.errorCode)));
    return root.Document();
}

std::string FmsStatus(const std::string& communicationReference, const std::string& logicalStatus,
                      const std::string& physicalStatus, const std::string& localDetail) {
    return CElement("fms:FmsStatusResponse", true)
        .Set("fftypes:communicationReference", communicationReference)
        .Set("logicalStatus", logicalStatus)
        .Set("physicalStatus", physicalStatus)
        .Set("localDetail", localDetail)
        .Document();
}

std::string FmsIdentify(const std::string& communicationReference, const std::string& vendor,
                        const std::string& modelName, const std::string& revision) {
    return CElement("fms:FmsIdentifyResponse", true)
        .Set("fftypes:communicationReference", communicationReference)
        .Set("fdt:vendor", vendor)
        .Set("modelName", modelName)
        .Set("revision", revision)
        .Document();
}

std::string FmsGetOd(const std::string& communicationReference, bool moreFollows,
                     std::uint32_t numberOfObjectDescriptions,
                     const std::string& objectDescriptions) {
    return CElement("fms:FmsGetOdResponse", true)
        .Set("fftypes:communicationReference", communicationReference)
        .Set("moreFollows", Flag(moreFollows))
        .Set("numberOfObjectDescriptions", numberOfObjectDescriptions)
        .Set("fdt:byteArray", objectDescriptions)
        .Document();
}

std::string SmIdentify(const std::string& communicationReference,
                       const std::vector<std::pair<std::string, std::string>>& devices) {
    CElement root("SmIdentifyResponse", true);
    root.Set("fftypes:communicationReference", communicationReference);
    for (const auto& [tag, devId] : devices) {
        root.Add(
            CElement("SmIdentifyResponseEntry").Set("fdt:tag", tag).Set("fftypes:devID", devId));
    }
    return root.Document();
}

std::string SmReplyPhysicalDevice(const std::string& devId) {
    return CElement("SmReplyPhysicalDevice", true).Set("fftypes:devID", devId).Document();
}

std::string SmReplyVfd(std::uint32_t vfdRef, std::int16_t versionOd, bool moreVcrl,
                       const std::vector<std::uint32_t>& indexList) {
    return CElement("SmReplyVFD", true)
        .Set("fftypes:vfdRef", vfdRef)
        .Set("moreVCRL", Flag(moreVcrl))
        .Set("fftypes:versionOd", versionOd)
        .Set("fftypes:listCount", static_cast<std::int64_t>(indexList.size()))
        .Add(IndexList(indexList))
        .Document();
}

std::string SmReplyFb(std::uint32_t vfdRef, std::int16_t versionOd, std::uint32_t index,
                      bool moreVcrl, const std::vector<std::uint32_t>& indexList) {
    return CElement("SmReplyFB", true)
        .Set("fftypes:vfdRef", vfdRef)
        .Set("moreVCRL", Flag(moreVcrl))
        .Set("fftypes:versionOd", versionOd)
        .Set("fdt:index", index)
        .Set("fftypes:listCount", static_cast<std::int64_t>(indexList.size()))
        .Add(IndexList(indexList))
        .Document();
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace ff_document
