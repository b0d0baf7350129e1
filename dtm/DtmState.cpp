#include "dtm/DtmState.h"

#include "xml/Xml.h"

std::string StateDocument(const SDtmState& state) {
    const auto flag = [](bool on) { return on ? "1" : "0"; };
    const xml::Document document = xml::Document::Create("DtmState");
    const xml::Node root = document.Root();
    root.SetAttribute("name", state.name);
    root.SetAttribute("state", state.state);
    root.SetAttribute("dataSetState", state.dataSetState);
    root.SetAttribute("userLevel", state.userLevel);
    root.SetAttribute("isPrivateDialogEnabled", flag(state.isPrivateDialogEnabled));
    root.SetAttribute("isCommunicating", flag(state.isCommunicating));
    root.SetAttribute("modifiedInDevice", flag(state.modifiedInDevice));
    return root.ToString();
}
