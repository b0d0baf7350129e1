// The calibration views through the control, against the simulated positioner's calibration
// procedures, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "views/calibration/AutomaticCalibrationSettingsView.h"
#include "views/calibration/AutomaticCalibrationView.h"
#include "views/calibration/PressureCalibrationView.h"
#include "views/calibration/SignalCalibrationView.h"
#include "views/calibration/TransmitterCalibrationView.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/diagnostics/MainDiagnosticView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr std::uint32_t kServiceMode = 0x01290000;
constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kValue = 0x015B0004;

class CalibrationViewsTest : public DeviceViewsTest {
protected:
    template <class View> View* ShowView(bool outOfService = true) {
        Dtm().Positioner().Store().Write(kServiceMode, outOfService ? "241" : "240");
        m_window = Show(View::kViewId);
        return dynamic_cast<View*>(m_control->GetController().FindView(View::kViewId));
    }
    static std::vector<std::string> Lines(const QListWidget& list) {
        std::vector<std::string> lines;
        for (int i = 0; i < list.count(); ++i) {
            lines.push_back(list.item(i)->text().toStdString());
        }
        return lines;
    }
};

TEST_F(CalibrationViewsTest, AutomaticProceduresListTheirStatesAndGiveTheServiceSwitchBack) {
    auto* view = ShowView<CAutomaticCalibrationView>();
    ASSERT_NE(view, nullptr);
    auto* procedure = m_window->findChild<QComboBox*>();
    const auto run = [&](int index) {
        procedure->setCurrentIndex(index);
        Click("Start");
        for (int i = 0; i < 40 && view->IsRunning(); ++i) {
            Advance(m_scheduler, 1000);
        }
        return Lines(*view->GetHistory());
    };
    // Auto calibration: every state once, in order; the flags are set while it runs.
    procedure->setCurrentIndex(0);
    Click("Start");
    EXPECT_EQ(view->Status(), "AUTO CALIBRATION STARTED");
    EXPECT_FALSE(view->GetServiceSwitch()->Button()->isVisible());
    Advance(m_scheduler, 1000);
    EXPECT_EQ(Dtm().Positioner().Read(0x015C0000), "1");
    while (view->IsRunning()) {
        Advance(m_scheduler, 1000);
    }
    EXPECT_THAT(Lines(*view->GetHistory()),
                ElementsAre("AUTO CALIBRATION STARTED", "TRAVEL CALIBRATION IN PROGRESS",
                            "FRICTION ESTIMATION IN PROGRESS", "FRICTION ESTIMATION FINISHED",
                            "PLAY ESTIMATION IN PROGRESS", "PLAY ESTIMATION FINISHED",
                            "AUTO CALIBRATION COMPLETED"));
    EXPECT_EQ(Dtm().Positioner().Read(kServiceMode), "241");
    EXPECT_TRUE(view->GetServiceSwitch()->Button()->isVisible());

    EXPECT_THAT(run(1),
                ElementsAre("TRAVEL CALIBRATION IN PROGRESS", "TRAVEL CALIBRATION COMPLETED"));
    EXPECT_THAT(run(3),
                ElementsAre("PULSE TUNE IN PROGRESS", "PULSE TUNE FINISHED",
                            "STEP TUNE IN PROGRESS", "STEP TUNE FINISHED", "AUTO TUNE COMPLETED"));
    Dtm().Faults().calibration.failure = 0x02;
    EXPECT_THAT(run(1), ElementsAre("TRAVEL CALIBRATION IN PROGRESS", "NO MOVEMENT"));
    Dtm().Faults().calibration.failure = 0;

    // A leak asks; Yes goes on with the auto calibration.
    Dtm().Faults().calibration.leak = true;
    procedure->setCurrentIndex(2);
    Click("Start");
    Advance(m_scheduler, 3000);
    EXPECT_EQ(view->Status(), "CONTINUE ?");
    EXPECT_THAT(Lines(*view->GetHistory()),
                ElementsAre("LEAK TEST IN PROGRESS", "LEAKAGE DETECTED"));
    // Meanwhile another view offers no service switch either.
    m_window = Show(MainDiagnosticView::kViewId);
    auto* hub = dynamic_cast<MainDiagnosticView*>(
        m_control->GetController().FindView(MainDiagnosticView::kViewId));
    EXPECT_FALSE(hub->GetServiceSwitch()->Button()->isVisible());
    m_window = Show(CAutomaticCalibrationView::kViewId);
    Click("Yes");
    while (view->IsRunning()) {
        Advance(m_scheduler, 1000);
    }
    EXPECT_EQ(Lines(*view->GetHistory()).back(), "AUTO CALIBRATION COMPLETED");
    m_window = Show(MainDiagnosticView::kViewId);
    EXPECT_TRUE(hub->GetServiceSwitch()->Button()->isVisible());

    // No aborts; so does Abort in the middle of a procedure.
    m_window = Show(CAutomaticCalibrationView::kViewId);
    procedure->setCurrentIndex(2);
    Click("Start");
    Advance(m_scheduler, 3000);
    Dtm().Calls().Clear();
    Click("No");
    EXPECT_THAT(Written(CAutomaticCalibrationView::kCommandKey), ElementsAre("255"));
    EXPECT_EQ(view->Status(), "ABORTED BY USER");
    Advance(m_scheduler, 2000);
    EXPECT_FALSE(view->IsRunning());
    Dtm().Faults().calibration.leak = false;
    procedure->setCurrentIndex(0);
    Click("Start");
    Advance(m_scheduler, 3000);
    Click("Abort");
    Advance(m_scheduler, 2000);
    EXPECT_FALSE(view->IsRunning());
    EXPECT_EQ(view->Status(), "ABORTED BY USER");

    // In service nothing starts.
    view = ShowView<CAutomaticCalibrationView>(false);
    Dtm().Calls().Clear();
    Click("Start");
    EXPECT_EQ(view->Status(), "Put the device into Out of Service");
    EXPECT_TRUE(Written(CAutomaticCalibrationView::kCommandKey).empty());
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(CalibrationViewsTest, PressureSensorsAskTheRightPressureAndNameEachFailure) {
    auto* view = ShowView<CPressureCalibrationView>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->PromptText(), "Make sure that the physical supply pressure is depressurized.");
    view->Choose(CPressureCalibrationView::CMinus, true);
    EXPECT_EQ(view->PromptText(),
              "Make sure that the physical C- pressure is is same as the entered value.");
    EXPECT_EQ(view->SpanValue()->text(), "700.0"); // kPa, the device's unit

    const auto calibrate = [&](int sensor, bool span, const char* value = "700.0") {
        view->Choose(sensor, span);
        view->SpanValue()->setText(QString::fromUtf8(value));
        Dtm().Calls().Clear();
        Click("Calibrate");
        const QString launched = view->Status();
        Advance(m_scheduler, 3000);
        return std::pair(launched.toStdString(), view->Status().toStdString());
    };
    const auto [launched, zero] = calibrate(CPressureCalibrationView::Supply, false);
    EXPECT_EQ(launched, "Supply Pressure calibration is launched...");
    EXPECT_EQ(zero, "Supply Pressure calibration is completed");
    EXPECT_THAT(Written(kCommand), ElementsAre("2"));
    EXPECT_TRUE(Written(kValue).empty());

    calibrate(CPressureCalibrationView::CPlus, true, "700");
    EXPECT_THAT(Written(kValue), ElementsAre("700"));
    EXPECT_THAT(Written(kCommand), ElementsAre("3"));
    EXPECT_EQ(view->Status(), "C+ Pressure calibration is completed");
    EXPECT_EQ(calibrate(CPressureCalibrationView::CMinus, true, "800").second,
              "C- Pressure calibration is failed. \nPhysical pressure should not be higher than 7 "
              "bars");
    EXPECT_EQ(calibrate(CPressureCalibrationView::CMinus, true, "50").second,
              "C- Pressure calibration is failed. \nEnetered pressure value should not be less "
              "than 1 bar");
    Dtm().Positioner().Calibration().SetPhysicalPressure(EPressureSensor::Supply, 2.0);
    EXPECT_EQ(calibrate(CPressureCalibrationView::Supply, false).second,
              "Supply Pressure calibration is failed. \nPhysical pressure is too high for lower "
              "pressure pressure calibration (It should be zero)");

    // No answer: the step ends after 20 s, not before.
    Dtm().Faults().calibration.noAnswer = true;
    view->Choose(CPressureCalibrationView::CPlus, false);
    Click("Calibrate");
    Advance(m_scheduler, CCalibrationStep::kTimeoutMs - 1000);
    EXPECT_EQ(view->Status(), "C+ Pressure calibration is in progress");
    Advance(m_scheduler, 1500);
    EXPECT_EQ(view->Status(), "Communication timed out");
    Dtm().Faults().calibration.noAnswer = false;

    // A device that calibrates in psi presets the span in psi.
    Dtm().Positioner().Store().Write(CPressureCalibrationView::kPressureUnit, "1");
    m_window = Show(1400);
    view = ShowView<CPressureCalibrationView>();
    EXPECT_EQ(view->SpanValue()->text(), "101.52");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(CalibrationViewsTest, SignalTransmitterAndSettingsWriteTheirCommandsAndValues) {
    auto* signal = ShowView<CSignalCalibrationView>();
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ(signal->PromptText(), "Make sure that the current source is set to 4 mA.");
    signal->Value(false)->setText("4.5");
    EXPECT_EQ(signal->PromptText(), "Make sure that the current source is set to 4.5 mA.");
    Dtm().Calls().Clear();
    Click("Calibrate");
    EXPECT_THAT(Written(kValue), ElementsAre("4.5"));
    EXPECT_THAT(Written(kCommand), ElementsAre("8"));
    EXPECT_EQ(signal->Status(), "Setpoint current Calibration is Launched...");
    Click("Cancel");
    Advance(m_scheduler, 1000);
    EXPECT_EQ(signal->Status(), "Setpoint current Calibration aborted");
    signal->ChooseUpper(true);
    Dtm().Calls().Clear();
    Click("Calibrate");
    Advance(m_scheduler, 3000);
    EXPECT_THAT(Written(kCommand), ElementsAre("7"));
    EXPECT_EQ(signal->Status(), "Setpoint current calibration is completed");

    // Transmitter: tuning the point chosen, an entry outside the device's range refused.
    auto* transmitter = ShowView<CTransmitterCalibrationView>();
    ASSERT_NE(transmitter, nullptr);
    Dtm().Calls().Clear();
    Click("UP");
    Advance(m_scheduler, 3000);
    transmitter->ChooseUpper(true);
    Click("DOWN");
    Advance(m_scheduler, 3000);
    EXPECT_THAT(Written(kCommand), ElementsAre("18", "17"));
    EXPECT_EQ(transmitter->Status(), "Transmitter calibration is completed");
    transmitter->Value(true)->setText("30");
    Dtm().Calls().Clear();
    Click("Calibrate");
    EXPECT_THAT(transmitter->Status().toStdString(),
                HasSubstr("Numeric Range shall be between 18 and 22"));
    EXPECT_TRUE(Written(kCommand).empty());
    transmitter->Value(true)->setText("20.5");
    Click("Calibrate");
    Advance(m_scheduler, 3000);
    EXPECT_THAT(Written(kCommand), ElementsAre("14"));
    EXPECT_EQ(Dtm().Positioner().Read(0x01700003), "20.50");

    // Settings: the device's choices and values, written back on Apply.
    auto* settings = ShowView<CAutomaticCalibrationSettingsView>();
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(settings->Choice(3)->count(), 3);
    EXPECT_EQ(settings->Choice(3)->currentText(), "Medium");
    EXPECT_EQ(settings->StrokeLength()->text().toDouble(), 40.0);
    settings->Choice(3)->setCurrentIndex(2);
    settings->StrokeLength()->setText("55");
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_EQ(Dtm().Positioner().Read(0x01230000), "2");
    EXPECT_EQ(Dtm().Positioner().Read(0x01430001), "55");
    settings->StrokeLength()->setText("abc");
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_TRUE(Dtm().Calls().Lines("ExecuteFunction").empty());
    Click("Default");
    EXPECT_EQ(settings->Choice(3)->currentText(), "Medium");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
