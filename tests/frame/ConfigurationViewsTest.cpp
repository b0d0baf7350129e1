// The fieldbus information views, the configuration hubs and views and the failure mode
// wizard through the control, against the simulated positioner, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "dtm/FieldbusDocuments.h"
#include "fdt/DtmFunctions.h"
#include "views/components/Grid.h"
#include "views/configuration/ActuatorConfigurationView.h"
#include "views/configuration/ConfigTuningView.h"
#include "views/configuration/ConfigurationHubs.h"
#include "views/configuration/FailureModeView.h"
#include "views/configuration/PositionerConfigurationView.h"
#include "views/fieldbus/AllParametersView.h"
#include "views/fieldbus/FFBlockInformationView.h"
#include "views/fieldbus/FFInformationView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

constexpr std::uint32_t kServiceTarget = 0x01280000;
constexpr std::uint32_t kServiceMode = 0x01290000;
constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kCommandState = 0x015B0002;
constexpr std::uint32_t kArgument = 0x015B0004;

class ConfigurationViewsTest : public DeviceViewsTest {
protected:
    template <class View> View* ShowView() {
        m_window = Show(View::kViewId);
        return dynamic_cast<View*>(m_control->GetController().FindView(View::kViewId));
    }
    std::string Text(QLineEdit* field) { return field ? field->text().toStdString() : "(none)"; }
    std::vector<std::string> Executed() { return Dtm().Calls().Lines("ExecuteFunction"); }
};

TEST_F(ConfigurationViewsTest, FFInformationReadsInOrderAndFormatsTheIdentification) {
    auto* view = ShowView<CFFInformationView>();
    ASSERT_NE(view, nullptr);
    Dtm().Calls().Clear();
    Click("Read");
    // The six parameters in order, then the SM identify service with an empty request.
    std::vector<std::string> expected;
    for (const std::uint32_t key : CFFInformationView::kReadOrder) {
        expected.push_back("ExecuteFunction(2, 4, " + std::to_string(key) + ")");
    }
    expected.push_back("ExecuteFunction(2, 11, )");
    EXPECT_EQ(Executed(), expected);
    EXPECT_EQ(Text(view->Box("Device Type:")), "0x0007");
    EXPECT_EQ(Text(view->Box("Manufacturer ID:")), "0x564C41");
    EXPECT_EQ(Text(view->Box("PD Tag:")), "FV-101");
    EXPECT_EQ(Text(view->Box("Device ID:")), "564C410700-VP700-0012345");
    EXPECT_FALSE(view->Box("VFD Tag:")->text().isEmpty());
    EXPECT_FALSE(view->Box("DTM Rev:")->text().isEmpty());
    EXPECT_FALSE(view->Box("Software Rev:")->text().isEmpty());

    // Padding: six positions with blanks for the maker, four zero-filled digits for the type.
    Dtm().Device().Write(CFFInformationView::kDeviceType, "3");
    Dtm().Device().Write(CFFInformationView::kManufacturerId, "76");
    Click("Read");
    EXPECT_EQ(Text(view->Box("Device Type:")), "0x0003");
    EXPECT_EQ(Text(view->Box("Manufacturer ID:")), "0x    4C");

    // Another service's answer leaves tag and id; of several devices the last one stays.
    view->OnUpdate(dtm_update::kFirstServiceResult, ff_document::FmsStatus("0", "0", "0", "0"));
    EXPECT_EQ(Text(view->Box("PD Tag:")), "FV-101");
    view->OnUpdate(dtm_update::kFirstServiceResult,
                   ff_document::SmIdentify("0", {{"FV-1", "ID-1"}, {"FV-2", "ID-2"}}));
    EXPECT_EQ(Text(view->Box("PD Tag:")), "FV-2");
    EXPECT_EQ(Text(view->Box("Device ID:")), "ID-2");
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(ConfigurationViewsTest, BlockInformationShowsTagsModesValuesAndStatus) {
    auto* view = ShowView<CFFBlockInformationView>();
    ASSERT_NE(view, nullptr);
    Advance(m_scheduler, 2000);
    const CGrid& modes = *view->Modes();
    EXPECT_EQ(modes.cellText(1, 0), "RESB");
    EXPECT_EQ(modes.cellText(4, 0), "AOTB");
    EXPECT_EQ(modes.cellText(1, 1), "VP700-RB");
    EXPECT_EQ(modes.cellText(4, 1), "VP700-AO");
    EXPECT_EQ(modes.cellText(1, 2), "Auto");
    const CGrid& parameters = *view->Parameters();
    EXPECT_EQ(parameters.cellText(1, 0), "PID  BLOCK");
    EXPECT_EQ(parameters.cellText(2, 0), "PIDB__PV");
    EXPECT_FALSE(parameters.cellText(2, 1).isEmpty());
    EXPECT_EQ(parameters.cellText(2, 3), "Good, substatus 0");
    EXPECT_EQ(parameters.cellText(5, 0), "PIDB__GAIN");
    EXPECT_FALSE(parameters.cellText(5, 1).isEmpty());
    EXPECT_EQ(parameters.cellText(8, 0), "AOB  BLOCK");
    EXPECT_EQ(CFFBlockInformationView::StatusText(0x4C), "Uncertain, substatus 3");
    EXPECT_EQ(CFFBlockInformationView::StatusText(0x00), "Bad, substatus 0");
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(ConfigurationViewsTest, AllParametersReadsEveryRowAndWritesOnlyTheEditedOnes) {
    auto* view = ShowView<CAllParametersView>();
    ASSERT_NE(view, nullptr);
    CGrid& grid = *view->Grid();
    const std::vector<std::uint32_t>& keys = CAllParametersView::Keys();
    ASSERT_EQ(keys.size(), 275u);
    EXPECT_EQ(grid.rows(), 276);
    EXPECT_EQ(grid.cellText(1, 0), "1");
    EXPECT_EQ(grid.cellText(275, 0), "275");
    EXPECT_LT(view->RowOf(0x01660000), view->RowOf(0x01650000));
    EXPECT_EQ(view->RowOf(0x01600000), 0); // the test settings are not listed

    // A key the DTM does not describe: its row says so, the others are read.
    constexpr std::uint32_t kUndescribed = 0x01520000;
    Dtm().Faults().undescribedKeys = {kUndescribed};
    Dtm().Calls().Clear();
    Click("READ");
    const std::vector<std::string> reads = Executed();
    ASSERT_EQ(reads.size(), keys.size());
    EXPECT_EQ(reads.front(), "ExecuteFunction(2, 4, " + std::to_string(keys.front()) + ")");
    Advance(m_scheduler, 12000);
    EXPECT_EQ(grid.cellText(view->RowOf(kUndescribed), 2), CAllParametersView::kErrorInReading);
    for (int row = 1; row <= 275; ++row) {
        if (row != view->RowOf(kUndescribed)) {
            EXPECT_NE(grid.cellText(row, 2), CAllParametersView::kErrorInReading)
                << grid.cellText(row, 1).toStdString();
        }
    }
    EXPECT_EQ(grid.cellText(view->RowOf(0x01160000), 2), "Vela");
    EXPECT_EQ(grid.cellText(view->RowOf(0x01050001), 2), "Auto");
    // The transmitter record, read whole, answers element by element into its one row.
    EXPECT_THAT(grid.cellText(view->RowOf(0x01700000), 2).toStdString(), HasSubstr("; "));

    // Two rows edited: the valid one is written after Yes, the one out of range keeps its
    // text with the reason; no other row is written.
    const int deadband = view->RowOf(0x01510000);
    const int gain = view->RowOf(0x01490000);
    grid.setCellText(deadband, 2, QStringLiteral("1.5"));
    grid.setCellText(gain, 2, QStringLiteral("250"));
    EXPECT_FALSE(grid.item(view->RowOf(kCommand) - 1, 2)->flags() & Qt::ItemIsEditable);
    Dtm().Calls().Clear();
    Click("WRITE");
    EXPECT_TRUE(Dtm().Calls().Lines("SetParameterValue").empty());
    EXPECT_FALSE(view->Confirmation()->isHidden());
    Click("Write: Yes");
    EXPECT_THAT(Written(0x01510000), ElementsAre("1.5"));
    EXPECT_TRUE(Written(0x01490000).empty());
    EXPECT_EQ(Dtm().Calls().Lines("SetParameterValue").size(), 1u);
    EXPECT_EQ(Dtm().Device().Read(0x01510000), "1.5");
    EXPECT_EQ(grid.cellText(gain, 2), "250");
    EXPECT_THAT(grid.item(gain - 1, 2)->toolTip().toStdString(), HasSubstr("Numeric Range"));
    EXPECT_EQ(view->EditedRows(), 1);

    Click("CLEAR ALL");
    EXPECT_EQ(grid.cellText(deadband, 2), "");
    EXPECT_EQ(view->EditedRows(), 0);
}

TEST_F(ConfigurationViewsTest, FailureModeCommandsAndTheirTimeOut) {
    auto* view = ShowView<CFailureModeView>();
    ASSERT_NE(view, nullptr);
    Dtm().Calls().Clear();
    view->ActivateButton()->click();
    // Both buttons at once; the argument cleared before the command.
    EXPECT_FALSE(view->ActivateButton()->isEnabled());
    EXPECT_FALSE(view->DeactivateButton()->isEnabled());
    EXPECT_EQ(Text(view->StatusBox()), "Failure mode activated.");
    const std::vector<std::string> sets = Dtm().Calls().Lines("SetParameterValue");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_THAT(sets[0], StartsWith("SetParameterValue(2, " + std::to_string(kArgument) + ", 0"));
    EXPECT_THAT(sets[1], StartsWith("SetParameterValue(2, " + std::to_string(kCommand) + ", 33"));
    Advance(m_scheduler, 3000);
    EXPECT_EQ(Dtm().Device().Read(kCommandState), "200");
    EXPECT_TRUE(view->ActivateButton()->isEnabled());
    EXPECT_FALSE(view->IsWaiting());

    Dtm().Calls().Clear();
    Click("Deactivate");
    EXPECT_THAT(Written(kCommand), ElementsAre("34", "34"));
    Advance(m_scheduler, 3000);
    EXPECT_NE(Dtm().Device().Read(kCommandState), "200");
    EXPECT_TRUE(view->DeactivateButton()->isEnabled());

    // No answer: polled until the time-out, then ready again with the message.
    Dtm().Faults().commandsUnanswered = true;
    Click("Activate");
    Advance(m_scheduler, CFailureModeView::kTimeoutMs - 1000);
    EXPECT_TRUE(view->IsWaiting());
    EXPECT_FALSE(view->DeactivateButton()->isEnabled());
    Advance(m_scheduler, 1500);
    EXPECT_FALSE(view->IsWaiting());
    EXPECT_TRUE(view->ActivateButton()->isEnabled());
    EXPECT_TRUE(view->DeactivateButton()->isEnabled());
    EXPECT_EQ(Text(view->StatusBox()), CFailureModeView::kNoResponseText);
    Dtm().Calls().Clear();
    Advance(m_scheduler, 2000);
    for (const std::string& call : Executed()) { // both timers stopped
        EXPECT_THAT(call, Not(HasSubstr(std::to_string(kCommandState))));
    }
}

TEST_F(ConfigurationViewsTest, ActuatorRoundTripInTheSelectedUnitsAndARefusedEntry) {
    Dtm().Device().Write(CActuatorConfigurationView::kDeadVolumeUnit, "1"); // cu in
    Dtm().Device().Write(0x011D0000, "1638.7064");                          // 100 cu in
    auto* view = ShowView<CActuatorConfigurationView>();
    ASSERT_NE(view, nullptr);
    Advance(m_scheduler, 2000);
    CConfigurationForm& form = view->Form();
    EXPECT_EQ(Text(form.Field(0x01160000)), "Vela");
    EXPECT_EQ(Text(form.Field(0x011D0000)), "100.00");
    EXPECT_EQ(form.ShownUnit(0x011D0000), "cu in");
    EXPECT_EQ(form.ShownUnit(0x011E0000), "sq cm");

    form.Field(0x011D0000)->setText(QStringLiteral("50"));
    form.Field(0x01160000)->setText(QStringLiteral("Acme-2"));
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(Written(0x01160000), ElementsAre("Acme-2"));
    EXPECT_NEAR(std::stod(Dtm().Device().Read(0x011D0000).value_or("0")), 819.3532, 1e-3);
    EXPECT_EQ(view->Status(), "Values written to the device");

    // A field that fails its check names itself after the prefix; nothing is written.
    form.Field(0x011F0000)->setText(QStringLiteral("abc"));
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(view->Status().toStdString(),
                StartsWith("Flag: Invalid Value in: Spring Range Lower"));
    EXPECT_TRUE(Dtm().Calls().Lines("SetParameterValue").empty());
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(ConfigurationViewsTest, PositionerAndTuningChecksDefaultsAndServiceLock) {
    auto* positioner = ShowView<CPositionerConfigurationView>();
    ASSERT_NE(positioner, nullptr);
    Advance(m_scheduler, 2000);
    CConfigurationForm& form = positioner->Form();
    // In service the character is locked.
    EXPECT_FALSE(form.Choice(CPositionerConfigurationView::kCharacter)->isEnabled());
    form.Field(CPositionerConfigurationView::kLimitLow)->setText(QStringLiteral("60"));
    form.Field(CPositionerConfigurationView::kLimitHigh)->setText(QStringLiteral("50"));
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(positioner->Status().toStdString(),
                StartsWith("PositionerDashBoard: Invalid Value in: Low"));
    EXPECT_TRUE(Dtm().Calls().Lines("SetParameterValue").empty());
    Click("Default");
    EXPECT_EQ(Text(form.Field(CPositionerConfigurationView::kCutoffHigh)), "99.5");
    EXPECT_EQ(Text(form.Field(CPositionerConfigurationView::kLimitHigh)), "100.0");

    // Out of service the custom curve can be chosen and is written with the character.
    Dtm().Device().Write(kServiceTarget, "241");
    Dtm().Device().Write(kServiceMode, "241");
    Click("Read");
    Advance(m_scheduler, 1000);
    QComboBox* character = form.Choice(CPositionerConfigurationView::kCharacter);
    ASSERT_TRUE(character->isEnabled());
    character->setCurrentIndex(character->findData(CPositionerConfigurationView::kCustomCharacter));
    EXPECT_TRUE(positioner->CustomCurve()->isEnabled());
    positioner->CustomCurve()->item(1, 1)->setText(QStringLiteral("10"));
    Click("Apply");
    EXPECT_EQ(Dtm().Device().Read(CPositionerConfigurationView::kCharacter), "3");
    EXPECT_EQ(Dtm().Device().Read(CPositionerConfigurationView::kCustomCurve + 2), "10");

    auto* tuning = ShowView<CConfigTuningView>();
    ASSERT_NE(tuning, nullptr);
    Advance(m_scheduler, 2000);
    Click("Default");
    std::vector<std::string> shown;
    for (const auto* fields : {&CConfigTuningView::kPid, &CConfigTuningView::kSettings}) {
        for (const SConfigurationField& field : *fields) {
            if (QLineEdit* edit = tuning->Form().Field(field.key)) {
                shown.push_back(Text(edit));
            }
        }
    }
    EXPECT_THAT(shown, ElementsAre("1.00", "0.00", "0.05", "0.00", "5.00", "5.00", "5.00 s",
                                   "0.01 s", "0.50"));
    EXPECT_EQ(Text(tuning->Form().Field(0x01540001)), "2900");
    // Without Expert the pulses and classic gains stay as they are.
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(Written(0x014F0000), ElementsAre("5"));
    EXPECT_TRUE(Written(0x01540001).empty());
    tuning->Expert()->setChecked(true);
    Click("Apply");
    EXPECT_THAT(Written(0x01540001), ElementsAre("2900"));
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(ConfigurationViewsTest, InformationHubLeadsToEveryInformationView) {
    auto* hub = ShowView<CMainInformationView>();
    ASSERT_NE(hub, nullptr);
    for (const int viewId : {1103, 1101, 1104, 1506, CAllParametersView::kViewId}) {
        ASSERT_NE(hub->FindButton(viewId), nullptr) << viewId;
        EXPECT_TRUE(hub->FindButton(viewId)->isEnabled()) << viewId;
    }
    EXPECT_EQ(hub->FindButton(1104)->text(), " FF Information ");
    hub->FindButton(1104)->click();
    Advance(m_scheduler, 300);
    EXPECT_NE(m_control->GetController().FindView(1104), nullptr);
}

} // namespace
