#include "views/configuration/ValveConfigurationView.h"

CValveConfigurationView::CValveConfigurationView(const SViewContext& context)
    : CConfigurationView(context, "VALVE", "Invalid Value in:") {}

std::vector<CConfigurationView::SGroup> CValveConfigurationView::Groups() const {
    return {{"Valve Body", kBody}, {"Valve Trim", kTrim}};
}
