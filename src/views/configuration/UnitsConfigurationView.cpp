#include "views/configuration/UnitsConfigurationView.h"

CUnitsConfigurationView::CUnitsConfigurationView(const SViewContext& context)
    : CConfigurationView(context, "UNITS", "Invalid Value in:") {}

std::vector<CConfigurationView::SGroup> CUnitsConfigurationView::Groups() const {
    return {{"Units", kUnits}, {"Scales", kScales}};
}
