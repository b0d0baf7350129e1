#pragma once

#include <string>

// What the DTM tells the control about itself through its state document. The texts are
// those the control compares: connection states "Online", "GoingOnline", "Aborted",
// "GoingOffline" (anything else is offline); data-set states "default", "validModified",
// "invalidModified", "allDataLoaded"; the user level "observer" forbids editing.
struct SDtmState {
    std::string name = "Vela VP-700 FF";
    std::string state = "Online";
    std::string dataSetState = "allDataLoaded";
    std::string userLevel = "maintenance";
    bool isPrivateDialogEnabled = true;
    bool isCommunicating = false;
    bool modifiedInDevice = false;

    friend bool operator==(const SDtmState&, const SDtmState&) = default;
};

// The state document: one DtmState element carrying every field as an attribute of the same
// name, flags as "1" or "0".
std::string StateDocument(const SDtmState& state);
