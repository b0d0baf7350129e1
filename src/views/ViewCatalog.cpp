#include "views/ViewCatalog.h"

#include "edit/ViewTable.h"
#include "views/alarms/AlarmConfigurationView.h"
#include "views/alarms/AlarmStatusView.h"
#include "views/alarms/DiagnosticsAlarmConfigurationView.h"
#include "views/alarms/DigitalOutputAlarmConfigurationView.h"
#include "views/alarms/SubAlarmView.h"
#include "views/calibration/AutomaticCalibrationSettingsView.h"
#include "views/calibration/AutomaticCalibrationView.h"
#include "views/calibration/MainCalibrationView.h"
#include "views/calibration/PressureCalibrationView.h"
#include "views/calibration/SignalCalibrationView.h"
#include "views/calibration/TransmitterCalibrationView.h"
#include "views/configuration/ActuatorConfigurationView.h"
#include "views/configuration/ConfigTuningView.h"
#include "views/configuration/ConfigurationHubs.h"
#include "views/configuration/FailureModeView.h"
#include "views/configuration/PositionerConfigurationView.h"
#include "views/configuration/UnitsConfigurationView.h"
#include "views/configuration/ValveConfigurationView.h"
#include "views/dashboard/AdvancedDashBoardView.h"
#include "views/diagnostics/DataLoggerView.h"
#include "views/diagnostics/EventLogView.h"
#include "views/diagnostics/MainDiagnosticView.h"
#include "views/diagnostics/MultiStepTestView.h"
#include "views/diagnostics/PSTView.h"
#include "views/diagnostics/RampTestView.h"
#include "views/diagnostics/TravelHistogramView.h"
#include "views/diagnostics/TrendDiagView.h"
#include "views/fieldbus/AllParametersView.h"
#include "views/fieldbus/FFBlockInformationView.h"
#include "views/fieldbus/FFInformationView.h"
#include "views/fieldbus/FFOperationView.h"

#include <memory>

namespace ViewCatalog {

namespace {

template <class View, class... Arguments> void Add(CViewTable& table, Arguments... arguments) {
    table.Add(View::kViewId, View::DialogId, [arguments...](const SViewContext& context) {
        auto view = std::make_unique<View>(context, arguments...);
        view->Create(context.parent);
        return std::unique_ptr<IApplicationView>(std::move(view));
    });
}

} // namespace

void RegisterViews(CViewTable& table) {
    Add<CFFOperationView>(table);
    Add<CEventLogView>(table);
    Add<CMultiStepTestView>(table);
    Add<CRampTestView>(table);
    Add<CPSTView>(table);
    Add<CDataLoggerView>(table);
    Add<CTrendDiagView>(table);
    Add<CTravelHistogramView>(table);
    Add<CAutomaticCalibrationView>(table);
    Add<CAutomaticCalibrationSettingsView>(table);
    Add<CPressureCalibrationView>(table);
    Add<CSignalCalibrationView>(table);
    Add<CTransmitterCalibrationView>(table);
    Add<CSubAlarmView>(table);
    Add<CDiagnosticsAlarmConfgurationView>(table);
    Add<CAlarmConfigurationView>(table);
    Add<CDigitalOutPutAlarmConfigurationView>(table);
    Add<CFFInformationView>(table);
    Add<CFFBlockInformationView>(table);
    Add<CAllParametersView>(table);
    Add<CActuatorConfigurationView>(table);
    Add<CValveConfigurationView>(table);
    Add<CPositionerConfigurationView>(table);
    Add<CConfigTuningView>(table);
    Add<CUnitsConfigurationView>(table);
    Add<CFailureModeView>(table);
    // The hubs' buttons lead to the views that exist.
    const CViewTable* views = &table;
    const std::function<bool(int)> exists = [views](int viewId) {
        return views->GetDialogId(viewId) != 0;
    };
    Add<MainDiagnosticView>(table, exists);
    Add<CMainCalibrationView>(table, exists);
    Add<CAlarmStatusView>(table, exists);
    Add<CAdvancedDashBoardView>(table, exists);
    // The configuration hubs lead to each other: all are in the table before one is made.
    Add<CMainConfigurationView>(table, exists);
    Add<CMainCustomView>(table, exists);
    Add<CMainInformationView>(table, exists);
    Add<CMainWizardsView>(table, exists);
}

} // namespace ViewCatalog
