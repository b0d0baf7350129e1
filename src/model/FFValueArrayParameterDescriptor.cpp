#include "model/FFValueArrayParameterDescriptor.h"

#include "model/ElementAttributes.h"
#include "xml/Xml.h"

CFFValueArrayParameterDescriptor::CFFValueArrayParameterDescriptor(
    ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey, const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CFFValueArrayParameterDescriptor::ReadKind(const xml::Document& document,
                                                const CElementAttributes&, const SCommonFields&) {
    const xml::Node array = FindFirstElement(document.Root(), "FFValueArray");
    const CElementAttributes arrayAttributes(array);
    std::vector<SArrayElement> elements;
    for (const CElementAttributes& element :
         CElementAttributes::OfChildren(array, "ArrayElement")) {
        elements.push_back(
            {element.Get("index"), element.Get("value"), element.Get("description")});
    }
    m_elementType = arrayAttributes.Get("elementType");
    m_arrayValueType = arrayAttributes.Get("valueType");
    m_elements = std::move(elements);
}
