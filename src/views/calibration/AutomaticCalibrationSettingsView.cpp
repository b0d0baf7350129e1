#include "views/calibration/AutomaticCalibrationSettingsView.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CAutomaticCalibrationSettingsView::CAutomaticCalibrationSettingsView(const SViewContext& context)
    : CConfigurationView(context, "AUTOMATIC CALIBRATION SETTINGS", "Invalid Value in:") {}

void CAutomaticCalibrationSettingsView::CreateFields(QWidget& content, QVBoxLayout& layout) {
    layout.addWidget(new QLabel(
        QStringLiteral("These settings will be used in automatic calibration."), &content));
    layout.addWidget(
        Form().AddGroup(&content, QStringLiteral("Actuator - Mechanical Action"), kChoices), 0,
        Qt::AlignLeft);
    layout.addWidget(
        Form().AddGroup(&content, QStringLiteral("Additional information"), kAdditional), 0,
        Qt::AlignLeft);
}
