#include "views/common/WriteSingleArrayElement.h"

#include "xml/Xml.h"

std::string CWriteSingleArrayElementUIHelper::GetRequest() const {
    const xml::Document request = xml::Document::Create("WriteSingleArrayElement");
    request.Root().SetAttribute("arrayID", std::to_string(m_arrayId));
    request.Root().SetAttribute("elementIndex", std::to_string(m_elementIndex));
    return request.ToString();
}
