#include "ui/DtmStateDocument.h"

#include "xml/Xml.h"

std::optional<SDtmStateDocument> SDtmStateDocument::Parse(const std::string& text) {
    const xml::Document document = xml::Document::TryParse(text);
    if (document.IsNull()) {
        return std::nullopt;
    }
    const auto read = [&document](std::string_view path) { return document.Attribute(path); };
    return SDtmStateDocument{.name = read("//@name"),
                             .state = read("//@state"),
                             .dataSetState = read("//@dataSetState"),
                             .userLevel = read("//@userLevel"),
                             .isPrivateDialogEnabled = read("//@isPrivateDialogEnabled"),
                             .isCommunicating = read("//@isCommunicating"),
                             .modifiedInDevice = read("//@modifiedInDevice")};
}
