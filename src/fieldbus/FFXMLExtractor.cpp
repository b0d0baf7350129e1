#include "fieldbus/FFXMLExtractor.h"

#include "fieldbus/FFConversions.h"

#include <stdexcept>

void CFFXMLExtractor::Load(std::string_view responseText) {
    m_document = xml::Document::TryParse(responseText);
}

bool CFFXMLExtractor::Contains(std::string_view path) const {
    if (m_document.IsNull()) {
        throw std::runtime_error("CFFXMLExtractor::Contains");
    }
    return !m_document.SelectSingle(path).IsNull();
}

xml::Node CFFXMLExtractor::GetNode(std::string_view path, bool mandatory) const {
    xml::Node node;
    if (!m_document.IsNull()) {
        node = m_document.SelectSingle(path);
    }
    if (m_document.IsNull() || (mandatory && node.IsNull())) {
        throw std::runtime_error("CFFH1XMLExtractor::GetNode");
    }
    return node;
}

std::string CFFXMLExtractor::GetText(std::string_view path) const {
    return GetNode(path, true).Text();
}

std::optional<std::string> CFFXMLExtractor::FindText(std::string_view path) const {
    const xml::Node node = GetNode(path, false);
    return node.IsNull() ? std::nullopt : std::optional(node.Text());
}

std::string CFFXMLExtractor::GetText(std::string_view prefixedPath,
                                     std::string_view plainPath) const {
    std::optional<std::string> text = FindText(prefixedPath);
    return text ? std::move(*text) : GetText(plainPath);
}

std::string CFFXMLExtractor::ItemPath(std::string_view elementPath, std::uint32_t index) {
    return std::string(elementPath) + "[" + std::to_string(index) + "]";
}

void CFFXMLExtractor::ReadList(std::string_view elementPath,
                               const std::function<void(const std::string&)>& read) const {
    for (std::uint32_t i = 0;; ++i) {
        const std::string itemPath = ItemPath(elementPath, i);
        if (GetNode(itemPath, false).IsNull()) {
            return;
        }
        read(itemPath);
    }
}

void CFFXMLExtractor::ReadList(std::string_view elementPath, std::uint32_t count,
                               const std::function<void(const std::string&)>& read) const {
    for (std::uint32_t i = 0; i < count; ++i) {
        read(ItemPath(elementPath, i));
    }
}

CEnumeratorEntry CFFXMLExtractor::GetEnumeratorEntry(const std::string& entryPath) const {
    const std::uint32_t index = CFFConversions::ToUInt32(GetText(entryPath + "/@index"));
    std::string name = GetText(entryPath + "/@name");
    return {index, std::move(name), FindText(entryPath + "/@descriptor").value_or("")};
}

CErrorInfo CFFXMLExtractor::GetErrorInfo() const {
    CErrorInfo info;
    info.SetErrorClass(CFFConversions::ToInt8(GetText("//@errorClass")));
    info.SetErrorCode(CFFConversions::ToInt8(GetText("//@errorCode")));
    if (const auto additionalCode = FindText("//@additionalCode")) {
        info.SetAdditionalCode(CFFConversions::ToInt16(*additionalCode));
    }
    if (auto additionalDescription = FindText("//@additionalDescription")) {
        info.SetAdditionalDescription(std::move(*additionalDescription));
    }
    if (Contains("//fms:ErrorDescription")) {
        CEnumeratorEntry classEntry =
            GetEnumeratorEntry("//fms:ErrorDescription/fdt:EnumeratorEntry[0]");
        CEnumeratorEntry codeEntry =
            GetEnumeratorEntry("//fms:ErrorDescription/fdt:EnumeratorEntry[1]");
        info.SetErrorDescription(std::move(classEntry), std::move(codeEntry));
    }
    return info;
}
