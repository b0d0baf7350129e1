// The shared device-view parts against the simulated positioner, on the manual scheduler.

#include "views/common/DeviceView.h"
#include "TestPaths.h"
#include "com/ComError.h"
#include "dtm/SimulatedDtm.h"
#include "model/AlarmInformation.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/ParameterDescriptionFactory.h"
#include "ui/Guard.h"
#include "ui/ManualScheduler.h"
#include "ui/UIController.h"
#include "views/common/BusyIndicator.h"
#include "views/common/DeviceAccess.h"
#include "views/common/DeviceViewHeader.h"
#include "views/common/DeviceViewServices.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/common/WriteSingleArrayElement.h"
#include "views/components/Led.h"
#include "xml/Xml.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gmock/gmock.h>

#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr std::uint32_t kModeKey = 0x01290000;
constexpr std::uint32_t kAlarmCountKey = 0x01680000;

class DeviceViewTest : public ::testing::Test {
protected:
    DeviceViewTest() { SetScheduler(&m_scheduler); }
    ~DeviceViewTest() override { SetScheduler(nullptr); }

    std::vector<std::string> Calls(std::string_view operation) {
        return m_dtm->Calls().Lines(operation);
    }

    CManualScheduler m_scheduler;
    ComPtr<CSimulatedDtm> m_dtm = MakeCom<CSimulatedDtm>(OV_DTM_DATA_DIR);
    CParameterDescriptionFactory m_descriptors{ComPtr<IDtmParameterAccess>(m_dtm.Get())};
    CDeviceAccess m_device{&m_descriptors, ComPtr<IDtmParameterAccess>(m_dtm.Get()),
                           ComPtr<IDtmUIAccess>(m_dtm.Get())};
};

TEST_F(DeviceViewTest, DeviceAccessSpeaksRequestTwoAndGuardsTheDescriptorKind) {
    m_device.RequestRead(kAlarmCountKey);
    m_device.Write(kModeKey, "241");
    m_device.ShowMessage("Valve 'A' & <B>");
    EXPECT_THAT(Calls("ExecuteFunction"),
                ElementsAre("ExecuteFunction(2, 4, 23592960)", "ExecuteFunction(2, 5, 19464192)"));
    EXPECT_THAT(Calls("SetParameterValue"), ElementsAre("SetParameterValue(2, 19464192, 241)"));
    EXPECT_THAT(Calls("ShowUserDialog"),
                ElementsAre("ShowUserDialog(InformationDialog, Valve 'A' & <B>)"));

    // The DTM's copy is what a fetch shows; a descriptor of another kind yields nothing and
    // the caller leaves its box as it was.
    EXPECT_EQ(m_device.Fetch<CEnumParameterDescriptor>(kModeKey), "241");
    EXPECT_EQ(m_device.Fetch<CNumericParameterDescriptor>(kModeKey), std::nullopt);
    // A value the DTM refuses is an error with the DTM's text, and nothing goes to the device.
    m_dtm->Calls().Clear();
    EXPECT_THROW(m_device.Write(kModeKey, "7"), std::runtime_error);
    EXPECT_THAT(Calls("ExecuteFunction"), IsEmpty());
    // A failing DTM call raises its HRESULT.
    m_dtm->Faults().failingOperations["ExecuteFunction"] = E_FAIL;
    EXPECT_THROW(m_device.RequestRead(kAlarmCountKey), ComError);
}

TEST_F(DeviceViewTest, BusyIndicatorLoopsInFivesEveryThreeHundredMillisecondsUntilStopped) {
    QProgressBar bar;
    CBusyIndicator busy(&bar);
    busy.Start();
    m_scheduler.AdvanceBy(299);
    EXPECT_EQ(bar.value(), 0);
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(bar.value(), 5);
    m_scheduler.AdvanceBy(19 * 300);
    EXPECT_EQ(bar.value(), 100);
    m_scheduler.AdvanceBy(300);
    EXPECT_EQ(bar.value(), 0); // round again
    busy.Stop();
    EXPECT_EQ(bar.value(), 100);
    m_scheduler.AdvanceBy(3000);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_FALSE(busy.IsRunning());
}

TEST_F(DeviceViewTest, PrivateDialogsRefusedShowOnlyTheMessage) {
    CUIController controller;
    controller.SetPrivateDialogsEnabled(false);
    EXPECT_FALSE(PrivateDialogsPermitted(controller, m_device, private_dialogs::kEventLogRefusal));
    EXPECT_THAT(Calls(""), ElementsAre(std::string("ShowUserDialog(InformationDialog, ") +
                                       private_dialogs::kEventLogRefusal + ")"));
    controller.SetPrivateDialogsEnabled(true);
    m_dtm->Calls().Clear();
    EXPECT_TRUE(
        PrivateDialogsPermitted(controller, m_device, SDeviceState{}.privateDialogsMessage));
    EXPECT_THAT(Calls(""), IsEmpty());
}

class ServiceModeSwitchTest : public DeviceViewTest {
protected:
    CServiceModeSwitch& Make(CServiceModeSwitch::EWording wording) {
        m_switch = std::make_unique<CServiceModeSwitch>(
            wording, m_state, m_device,
            CServiceModeSwitch::SPolling{[this] { m_polling.push_back("stop"); },
                                         [this] { m_polling.push_back("start"); }});
        m_switch->show();
        return *m_switch;
    }
    // The status box's text and the button's label.
    using Texts = std::pair<std::string, std::string>;
    Texts Labels() const {
        return {m_switch->StatusBox()->text().toStdString(),
                m_switch->Button()->text().toStdString()};
    }

    SDeviceState m_state;
    std::vector<std::string> m_polling;
    std::unique_ptr<CServiceModeSwitch> m_switch;
};

TEST_F(ServiceModeSwitchTest, YesWhileInServiceWritesOnceFlipsAtOnceAndTheModeValueDecides) {
    CServiceModeSwitch& control = Make(CServiceModeSwitch::EWording::DeviceView);
    EXPECT_EQ(Labels(), Texts("IN SERVICE", "OUT OF SERVICE"));

    control.Button()->click();
    EXPECT_TRUE(control.IsConfirming());
    EXPECT_FALSE(control.Button()->isVisible());
    EXPECT_EQ(control.Prompt()->text(), "Put the device Out of Service?");
    EXPECT_THAT(m_polling, ElementsAre("stop"));
    EXPECT_THAT(Calls(""), IsEmpty());

    control.YesButton()->click();
    EXPECT_FALSE(control.IsConfirming());
    EXPECT_FALSE(m_state.inService);
    EXPECT_EQ(Labels(), Texts("OUT OF SERVICE", "IN SERVICE"));
    EXPECT_THAT(m_polling, ElementsAre("stop", "start"));
    EXPECT_THAT(Calls(""),
                ElementsAre("SetParameterValue(2, 19398656, 241)",
                            "ExecuteFunction(2, 5, 19398656)", "ExecuteFunction(2, 4, 19464192)"));

    // The device still reports in service: the mode value puts both labels back.
    m_state.inService = true;
    control.OnModeChanged();
    EXPECT_EQ(Labels(), Texts("IN SERVICE", "OUT OF SERVICE"));
}

TEST_F(ServiceModeSwitchTest, NoRestoresTheButtonAndPollingAndWritesNothing) {
    m_state.inService = false;
    CServiceModeSwitch& control = Make(CServiceModeSwitch::EWording::Dashboard);
    control.Button()->click();
    EXPECT_EQ(control.Prompt()->text(), "Put device In Service?");
    control.NoButton()->click();
    EXPECT_FALSE(control.IsConfirming());
    EXPECT_TRUE(control.Button()->isVisible());
    EXPECT_FALSE(control.YesButton()->isVisible());
    EXPECT_THAT(m_polling, ElementsAre("stop", "start"));
    EXPECT_THAT(Calls(""), IsEmpty());

    // While switching is not allowed (a calibration runs) the button stays hidden.
    m_state.serviceSwitchingAllowed = false;
    control.OnModeChanged();
    EXPECT_FALSE(control.Button()->isVisible());
}

} // namespace

namespace {

// A DTM whose parameters hold whatever a test puts into them, as numeric (kind 0) or
// enumeration (kind 2) control data; it logs the functions it is asked to run.
class CValueDtm : public ComObject<IDtmParameterAccess> {
public:
    struct SValue {
        std::int32_t kind = 0;
        std::string value;
    };
    HRESULT GetControlData(std::int32_t, std::uint32_t key, std::int32_t* kind,
                           std::string* controlData) override {
        const SValue& entry = values[key];
        *kind = entry.kind;
        *controlData = R"(<ControlData label="p" name="p" timestamp="2024031512300001" )"
                       R"(parameterType="eprimitive" min="-1E+12" max="1E+12" value=")" +
                       entry.value + R"(" valueType=")" + (entry.kind == 0 ? "eint32" : "eenum8") +
                       R"("/>)";
        return S_OK;
    }
    HRESULT SetParameterValue(std::int32_t, std::uint32_t, const std::string&,
                              std::string*) override {
        return E_NOTIMPL;
    }
    HRESULT ExecuteFunction(std::int32_t, std::int32_t function, const std::string& argument,
                            VARIANT_BOOL*) override {
        functions.push_back(std::to_string(function) + " " + argument);
        return failFunctions ? E_FAIL : S_OK;
    }
    HRESULT OpenContext(const std::string&, std::int32_t*) override { return E_NOTIMPL; }

    std::map<std::uint32_t, SValue> values;
    std::vector<std::string> functions;
    bool failFunctions = false;
};

class CCountingBeeper : public IBeeper {
public:
    void Beep(int, int) override { ++beeps; }
    int beeps = 0;
};

class CTestDeviceView : public CDeviceView<CTestDeviceView, 900> {
public:
    explicit CTestDeviceView(const SViewContext& context)
        : CDeviceView(context, EHeader::WithNavigation) {}

    std::vector<std::uint32_t> parameters;
    int firstActivations = 0;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override { return std::make_unique<QWidget>(); }
    void OnDeviceActivated() override {
        StartViewTimer(10, 500, [this] { Device().RequestRead(0x01440001); });
    }
    void OnFirstActivation() override { ++firstActivations; }
    void OnParameter(std::uint32_t key) override { parameters.push_back(key); }
};

class DeviceViewBaseTest : public ::testing::Test {
protected:
    DeviceViewBaseTest() {
        SetScheduler(&m_scheduler);
        SetBeeper(&m_beeper);
        SViewContext context{.viewId = 900,
                             .dialogId = 900,
                             .parameters = &m_descriptors,
                             .parameterAccess = ComPtr<IDtmParameterAccess>(m_dtm.Get()),
                             .deviceState = m_state};
        m_alarms.LoadText(
            R"(<AlarmInformation><Alarm id="7" shortDescription="C+ pressure alarm"/>)"
            R"(</AlarmInformation>)");
        context.alarmInformation = &m_alarms;
        m_view = std::make_unique<CTestDeviceView>(context);
        m_view->Create(&m_parent);
    }
    ~DeviceViewBaseTest() override {
        m_view.reset();
        SetBeeper(nullptr);
        SetScheduler(nullptr);
    }
    // The device reports `value` for `key` (numeric or enumeration).
    void Report(std::uint32_t key, std::string value, std::int32_t kind = 0) {
        m_dtm->values[key] = {kind, std::move(value)};
        m_view->OnUpdate(100, std::to_string(key));
    }
    std::string Box(QLineEdit* box) const { return box->text().toStdString(); }
    CDeviceViewHeader& Header() const { return *m_view->GetHeader(); }

    CManualScheduler m_scheduler;
    CCountingBeeper m_beeper;
    ComPtr<CValueDtm> m_dtm = MakeCom<CValueDtm>();
    CParameterDescriptionFactory m_descriptors{ComPtr<IDtmParameterAccess>(m_dtm.Get())};
    std::shared_ptr<SDeviceState> m_state = std::make_shared<SDeviceState>();
    CAlarmInformation m_alarms;
    QWidget m_parent;
    std::unique_ptr<CTestDeviceView> m_view;
};

TEST_F(DeviceViewBaseTest, TimersRunOnlyWhileActiveAndTheFirstActivationWorkRunsOnce) {
    m_view->Activate();
    m_scheduler.AdvanceBy(4000);
    // The view's own reads every 500 ms; at 4000 ms the header's two, started first.
    std::vector<std::string> expected(7, "4 21233665");
    expected.insert(expected.end(), {"4 23592960", "4 23527424", "4 21233665"});
    EXPECT_EQ(m_dtm->functions, expected);
    m_view->Deactivate();
    m_dtm->functions.clear();
    m_scheduler.AdvanceBy(20000);
    EXPECT_THAT(m_dtm->functions, IsEmpty());
    m_view->Activate();
    m_view->Deactivate();
    EXPECT_EQ(m_view->firstActivations, 1);

    // A failing read shows in the status line; nothing escapes the timer.
    m_dtm->failFunctions = true;
    m_view->Activate();
    m_scheduler.AdvanceBy(500);
    EXPECT_THAT(m_view->GetStatusLine()->text().toStdString(),
                ::testing::HasSubstr("Timer: COM call ExecuteFunction failed"));
}

TEST_F(DeviceViewBaseTest, AlarmCountDrivesLedAndBeepOnlyWithSoundOnWhileActive) {
    // The DTM describes the current alarm with another kind than the header expects.
    m_dtm->values[0x01670000] = {2, "7"};
    m_view->Activate();
    EXPECT_EQ(Box(Header().AlarmBox()), "");
    m_state->soundOn = true;
    Report(0x01680000, "0");
    EXPECT_EQ(Box(Header().AlarmCountBox()), "0");
    EXPECT_EQ(Header().AlarmLed()->activeColor(), CDeviceViewHeader::kGreen);
    m_scheduler.AdvanceBy(3000);
    EXPECT_EQ(m_beeper.beeps, 0); // a zero count never beeps

    Report(0x01680000, "2");
    EXPECT_EQ(Header().AlarmLed()->activeColor(), CDeviceViewHeader::kRed);
    EXPECT_TRUE(Header().AlarmLed()->isActive());
    m_scheduler.AdvanceBy(3000);
    EXPECT_EQ(m_beeper.beeps, 3); // once a second
    m_state->soundOn = false;
    m_scheduler.AdvanceBy(3000);
    EXPECT_EQ(m_beeper.beeps, 3);
    m_state->soundOn = true;
    m_view->Deactivate();
    m_scheduler.AdvanceBy(3000);
    EXPECT_EQ(m_beeper.beeps, 3);

    // Text that is no number, a number out of range and a descriptor of another kind than
    // the header expects leave the box as it was.
    Report(0x01680000, "many");
    Report(0x01680000, "99999999999");
    EXPECT_EQ(Box(Header().AlarmCountBox()), "2");
    Report(0x01670000, "7", 2);
    EXPECT_EQ(Box(Header().AlarmBox()), "");
    EXPECT_EQ(m_state->activeAlarmCount, 2);
}

TEST_F(DeviceViewBaseTest, HeaderRulesForAlarmModeSetpointModeAndFailureMode) {
    Report(0x01670000, "7");
    EXPECT_EQ(Box(Header().AlarmBox()), "C+ pressure alarm");
    Report(0x01670000, "8");
    EXPECT_EQ(Box(Header().AlarmBox()), "");

    Report(0x01290000, "241", 2);
    EXPECT_EQ(Box(Header().ServiceBox()), "OOS");
    EXPECT_FALSE(m_state->inService);
    Report(0x01290000, "240", 2);
    EXPECT_EQ(Box(Header().ServiceBox()), "SRV");
    EXPECT_TRUE(m_state->inService);

    Report(0x012E0000, "1", 2);
    EXPECT_EQ(Box(Header().SetpointModeBox()), "LO");
    Report(0x012E0000, "3", 2); // no such mode: the box stays
    Report(0x012E0000, "256", 2);
    EXPECT_EQ(Box(Header().SetpointModeBox()), "LO");

    Report(0x015B0002, "200", 2);
    EXPECT_FALSE(Header().FailureModeBox()->isHidden());
    EXPECT_EQ(m_state->failureModeFlag, 1);
    Report(0x015B0002, "0", 2);
    EXPECT_TRUE(Header().FailureModeBox()->isHidden());
    EXPECT_EQ(m_state->failureModeFlag, 0);

    // Every key reaches the view after the header; a key that is no number reaches nobody.
    m_view->parameters.clear();
    Report(0x01440001, "50");
    m_view->OnUpdate(100, "not a key");
    EXPECT_THAT(m_view->parameters, ElementsAre(0x01440001u));
}

TEST(WriteSingleArrayElement, RequestNamesTheArrayKeyAndTheElementInDecimal) {
    const CWriteSingleArrayElementUIHelper request(0x017B0000, 73);
    const xml::Document document = xml::Document::Parse(request.GetRequest());
    EXPECT_EQ(document.Root().Name(), "WriteSingleArrayElement");
    EXPECT_EQ(document.Attribute("/WriteSingleArrayElement/@arrayID"), "24838144");
    EXPECT_EQ(document.Attribute("/WriteSingleArrayElement/@elementIndex"), "73");
    EXPECT_EQ(CWriteSingleArrayElementUIHelper(4294967295u, 0).GetRequest().find("4294967295") !=
                  std::string::npos,
              true);
}

} // namespace
