// The data logger through the control, against the simulated positioner's live values, on the
// manual scheduler.

#include "DeviceViewsFixture.h"

#include "views/common/DeviceViewServices.h"
#include "views/components/Plot.h"
#include "views/diagnostics/DataLoggerView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>

#include <optional>

using ::testing::HasSubstr;

namespace {

class DataLoggerViewTest : public DeviceViewsTest {
protected:
    CDataLoggerView* ShowLogger() {
        m_window = Show(CDataLoggerView::kViewId);
        return dynamic_cast<CDataLoggerView*>(
            m_control->GetController().FindView(CDataLoggerView::kViewId));
    }
    // Interval index (1, 2, 5, 10 s), duration and units (0 minutes, 1 hours).
    void Choose(int interval, int duration, int units) {
        auto combos = m_window->findChildren<QComboBox*>();
        ASSERT_EQ(combos.size(), 2);
        combos[0]->setCurrentIndex(interval);
        combos[1]->setCurrentIndex(units);
        m_window->findChild<QSpinBox*>()->setValue(duration);
    }
    double DeviceValue(std::uint32_t key) {
        return std::stod(Dtm().Positioner().Read(key).value_or("nan"));
    }
    static QList<QPointF> Points(const CDataLoggerView& view, int channel) {
        return view.GetPlot()->channelPoints(channel);
    }

    CAnsweringFileDialogs m_dialogs;
};

TEST_F(DataLoggerViewTest, AShortLogPlotsTheCheckedValuesOfEachSnapshotUntilItsEnd) {
    CDataLoggerView* view = ShowLogger();
    ASSERT_NE(view, nullptr);
    Choose(1, 1, 0); // every 2 s for a minute
    EXPECT_EQ(view->SampleCount(), 30);
    view->Box("Deviation")->setChecked(false);
    view->Box("Temperature")->setChecked(true);
    view->Box("Torque")->setChecked(true);

    Dtm().Calls().Clear();
    Button("Start")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    // The snapshot first, then the seven reads.
    const std::vector<std::string> calls = Dtm().Calls().Lines("ExecuteFunction");
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(calls[0], "ExecuteFunction(2, 5, " + std::to_string(0x015B0001) + ")");
    EXPECT_EQ(calls[1], "ExecuteFunction(2, 4, " + std::to_string(0x01440000) + ")");
    EXPECT_EQ(Dtm().Positioner().Read(0x015B0001), "42");
    EXPECT_EQ(view->GetWindow()->findChild<QLabel*>("loggerStatus")->text(),
              "DataLogger: Sample No: 1");
    for (int sample = 2; sample <= 5; ++sample) {
        Advance(m_scheduler, 2000);
        // The point of this snapshot, at counter × interval, with the values the device took.
        const QList<QPointF> position = Points(*view, 0);
        ASSERT_EQ(position.size(), sample);
        EXPECT_EQ(position.back().x(), 2.0 * sample);
        EXPECT_DOUBLE_EQ(position.back().y(), DeviceValue(0x01440001));
        EXPECT_DOUBLE_EQ(Points(*view, 1).back().y(), DeviceValue(0x04080002));
        EXPECT_DOUBLE_EQ(Points(*view, 6).back().y(), DeviceValue(0x01110002));
    }
    EXPECT_TRUE(Points(*view, 2).isEmpty()); // deviation unchecked
    EXPECT_TRUE(Points(*view, 3).isEmpty()); // supply pressure unchecked
    EXPECT_FALSE(Button("Start")->isEnabled());
    EXPECT_FALSE(view->Box("Position")->isEnabled());

    // Stop while the values of a snapshot are on their way: no point after Stop.
    Advance(m_scheduler, 2000 - 10 * kLatencyMs + 50);
    ASSERT_EQ(view->Counter(), 6);
    Button("Stop")->click();
    Advance(m_scheduler, 10000);
    EXPECT_EQ(Points(*view, 0).size(), 5);
    EXPECT_FALSE(view->IsLogging());
    Button("Reset")->click();
    EXPECT_TRUE(Points(*view, 0).isEmpty());
    EXPECT_EQ(view->Counter(), 0);

    // A whole minute: 30 samples, then the logger stops by itself.
    Button("Start")->click();
    Advance(m_scheduler, 65000);
    EXPECT_FALSE(view->IsLogging());
    EXPECT_EQ(view->Counter(), 30);
    EXPECT_EQ(Points(*view, 0).size(), 30);
    EXPECT_EQ(Points(*view, 0).back().x(), 60.0);
    EXPECT_TRUE(Button("Start")->isEnabled());

    // The sample count of the other units, a day at most.
    Choose(0, 24, 1);
    EXPECT_EQ(view->SampleCount(), 86400);
    Choose(3, 90, 0);
    EXPECT_EQ(view->SampleCount(), 540);
    m_window->findChildren<QComboBox*>()[1]->setCurrentIndex(1);
    EXPECT_EQ(m_window->findChild<QSpinBox*>()->maximum(), 24);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DataLoggerViewTest, SaveAndOpenRoundTripAndOtherFilesAreRefused) {
    CDataLoggerView* view = ShowLogger();
    ASSERT_NE(view, nullptr);
    Choose(0, 1, 0);
    Button("Start")->click();
    Advance(m_scheduler, 20000);
    Button("Stop")->click();
    const QList<QPointF> position = Points(*view, 0);
    ASSERT_GE(position.size(), 19);

    QTemporaryDir folder;
    m_dialogs.Answer(folder.path() + "/day");
    Button("Save")->click();
    ASSERT_TRUE(QFile::exists(folder.path() + "/day.lgr"));
    Button("Reset")->click();
    m_dialogs.Answer(folder.path() + "/day.lgr");
    Button("Load")->click();
    EXPECT_EQ(Points(*view, 0), position);
    EXPECT_EQ(m_dialogs.titles.front(), "Save Data Log as");
    EXPECT_EQ(m_dialogs.titles.back(), "Open Data Log");

    // A recording of another kind (channel 1 is not "Position") and a file cut short.
    QFile good(folder.path() + "/day.lgr");
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray text = good.readAll();
    for (const QByteArray& bad :
         {QByteArray(text).replace("\tPosition\t", "\tInput Setpoint\t"), text.left(200)}) {
        QFile file(folder.path() + "/bad.lgr");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bad);
        file.close();
        m_dialogs.Answer(file.fileName());
        Button("Load")->click();
        EXPECT_EQ(Points(*view, 0), position);
        EXPECT_THAT(view->GetStatusLine()->text().toStdString(), HasSubstr("Load: "));
    }

    // Without private dialogs: the logger's own refusal, no dialog.
    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    const std::size_t asked = m_dialogs.titles.size();
    Dtm().Calls().Clear();
    Button("Save")->click();
    EXPECT_EQ(m_dialogs.titles.size(), asked);
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 1u);
    m_reports.clear(); // the refused files were reported on purpose
}

} // namespace
