#include "views/configuration/ActuatorConfigurationView.h"

CActuatorConfigurationView::CActuatorConfigurationView(const SViewContext& context)
    : CConfigurationView(context, "ACTUATOR", "Flag: Invalid Value in:") {}

std::vector<CConfigurationView::SGroup> CActuatorConfigurationView::Groups() const {
    return {{"Actuator", kDescription}, {"Dimensions", kDimensions}};
}
