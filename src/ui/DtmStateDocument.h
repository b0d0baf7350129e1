#pragma once

#include <optional>
#include <string>

// The attributes of the DTM's state document that the user interface follows, read in one
// parse wherever they stand in the document. An attribute the document lacks is empty.
struct SDtmStateDocument {
    std::string name;
    std::string state;
    std::string dataSetState;
    std::string userLevel;
    std::string isPrivateDialogEnabled;
    std::string isCommunicating;
    std::string modifiedInDevice;

    // Nothing when `text` is no well-formed document.
    static std::optional<SDtmStateDocument> Parse(const std::string& text);
};
