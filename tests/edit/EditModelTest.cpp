#include "EditModelHarness.h"

#include "com/ComError.h"
#include "controls/FdtControlFactory.h"
#include "ui/AppViewActionInvoked.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

using ::testing::NiceMock;
using ::testing::Ref;
using ::testing::Return;

constexpr std::uint32_t kNumberKey = 0x01010000; // 16842752
constexpr std::uint32_t kEnumKey = 0x01020000;   // 16908288
constexpr std::uint32_t kBitsKey = 0x01030000;   // 16973824

class ActionView : public MockView, public IAppViewActionInvoked {
public:
    using MockView::MockView;
    MOCK_METHOD(void, OnActionInvoked, (CActionEvent&), (override));
};

class EditModelTest : public ::testing::Test {
protected:
    // Whatever a test does not expect to fail must not fail behind a guard.
    void TearDown() override { EXPECT_EQ(guards.errors, Texts{}); }

    // Registers a view under `id` and, when `show`, shows it.
    template <class View = NiceMock<MockView>> View* AddView(int id, bool show = true) {
        auto view = std::make_unique<View>(id);
        View* raw = view.get();
        std::unique_ptr<IApplicationView> owned = std::move(view);
        EXPECT_TRUE(ui.controller.RegisterView(id, owned));
        if (show) {
            ui.controller.ShowView(id);
        }
        return raw;
    }
    void DescribeEditableKeys() {
        ui.Describe(kNumberKey, 0, R"(valueType="efloat" value="42.5" unit="bar")");
        ui.Describe(kEnumKey, 2, R"(valueType="eenum8" value="2")",
                    "<ChoiceCollection><Choice caption='Open' tag='1'/>"
                    "<Choice caption='Closed' tag='2'/></ChoiceCollection>");
        ui.Describe(kBitsKey, 3, R"(valueType="ebitenum8" value="5")");
    }

    CGuardLog guards;
    CControlHarness ui;
    CEditModel& model = ui.model;
};

TEST_F(EditModelTest, StartRunsItsStepsInOrder) {
    model.GetDeviceState()->modeText = "OOS";
    model.Start();
    EXPECT_EQ(ui.TakeLog(),
              (Texts{"property TooltipInformationPath", "property AlarmInformationPath",
                     "property DiagnosticAlarmInformationPath", "register 0.25", "fn 0 0",
                     "action 200 Close 0", "fn 2 4 19464192", "fn 2 4 19791872", "fn 2 4 22806528",
                     "fn 2 4 23199744"}));
    EXPECT_NE(model.GetParameterDescriptionFactory(), nullptr);
    EXPECT_EQ(model.GetDeviceState()->modeText, "SRV");
}

TEST_F(EditModelTest, FirstReportOfTheLastWatchedKeyBuildsTheNavigationOnce) {
    ui.properties = {{"DeviceImagePath", "device.png"},
                     {"CompanyLogoPath", "company.png"},
                     {"DeviceCategory", "Positioner"},
                     {"Manufacturer", "Vela"},
                     {"BrandLogoPath", "brand.png"}};
    model.Start();
    ui.log.clear();
    ui.openFails = true; // reported; the next report tries again
    ui.ReportNavigationKey();
    EXPECT_EQ(std::exchange(guards.errors, {}).size(), 1u);
    ui.openFails = false;
    ui.ReportNavigationKey();
    ui.ReportNavigationKey();
    model.OnUpdate(1, "23199744"); // whatever the update type
    EXPECT_EQ(ui.TakeLog(),
              (Texts{"open <FunctionCall/>", "open <FunctionCall/>", "layout",
                     "property DeviceImagePath", "picture device.png", "property CompanyLogoPath",
                     "logo company.png", "property DeviceCategory", "line2 Positioner",
                     "property Manufacturer", "line3 Vela", "property BrandLogoPath",
                     "logo brand.png", "select 1100", "button 300 233 2 Standard Print!",
                     "button 10 icon 2 Hide navigation tree.", "button 500 232 2 Show help!"}));
    EXPECT_EQ(ui.layouts, Texts{CEditModel::LoadLayoutDescription()});
    EXPECT_EQ(model.GetStartViewId(), 1100);

    // From now on the opened context is the request.
    CActionEventImpl close(200);
    EXPECT_TRUE(model.OnUIEvent(close));
    EXPECT_EQ(ui.TakeLog(), Texts{"fn 17 3"});
}

TEST_F(EditModelTest, ToggleTreeTwiceRestoresTheTreeAndTheTooltip) {
    CActionEventImpl toggle(10);
    for (const bool hidden : {true, false}) {
        EXPECT_TRUE(model.OnUIEvent(toggle));
        EXPECT_EQ(ui.controller.IsNavigationTreeHidden(), hidden);
        EXPECT_EQ(ui.TakeLog(), (Texts{"delete 10",
                                       hidden ? "button 10 icon 2 Show navigation tree."
                                              : "button 10 icon 2 Hide navigation tree.",
                                       "delete 500", "button 500 232 2 Show help!"}));
    }
}

TEST_F(EditModelTest, ActionCommandsReachTheViewTheDtmAndTheHelp) {
    auto* view = AddView<NiceMock<ActionView>>(1100);
    ui.log.clear();
    CActionEventImpl invoke(100), print(300), printView(400), help(500), unknown(600);
    EXPECT_CALL(*view, OnActionInvoked(Ref(invoke)));
    for (CActionEventImpl* action : {&invoke, &print, &printView, &help}) {
        EXPECT_TRUE(model.OnUIEvent(*action)) << action->GetActionId();
    }
    EXPECT_FALSE(model.OnUIEvent(unknown));
    EXPECT_EQ(ui.TakeLog(),
              (Texts{"dialog TestPrint 9999", "dialog TestPrint 1100", "dialog ShowHelp 1100"}));
    AddView(1200); // takes no actions
    EXPECT_FALSE(model.OnUIEvent(invoke));
}

TEST_F(EditModelTest, GetEventsAreAnsweredFromDescriptorsOfTheRightKind) {
    ui.StartAndBuildNavigation();
    DescribeEditableKeys();
    CTextDataGetEventImpl text(1, kNumberKey, "");
    CComboBoxGetEventImpl combo(1, kEnumKey, "");
    CBitEnumGetEventImpl bits(1, kBitsKey, "");
    EXPECT_TRUE(model.OnUIEvent(text) && model.OnUIEvent(combo) && model.OnUIEvent(bits));
    EXPECT_EQ(text.GetValue() + " " + text.GetUnitText(), "42.5 bar");
    EXPECT_EQ(combo.GetChoiceCollection(),
              (std::vector<CComboBoxChoice>{{"Open", "1", 1}, {"Closed", "2", 2}}));
    EXPECT_EQ(combo.GetSelectedValue(), "Closed");
    EXPECT_EQ(bits.GetValue(), 5u);
    EXPECT_EQ(ui.TakeLog(),
              (Texts{"describe 17 16842752", "describe 17 16908288", "describe 17 16973824"}));

    // A descriptor of another kind, or none, leaves the event unanswered.
    CComboBoxGetEventImpl comboOnNumber(1, kNumberKey, "");
    CBitEnumGetEventImpl bitsOnEnum(1, kEnumKey, "");
    CTextDataGetEventImpl noDescriptor(1, 0x01040000, "");
    EXPECT_FALSE(model.OnUIEvent(comboOnNumber) || model.OnUIEvent(bitsOnEnum) ||
                 model.OnUIEvent(noDescriptor));
    EXPECT_FALSE(comboOnNumber.AreChoicesSet());
}

TEST_F(EditModelTest, CommittedSetEventsWriteToTheDtmThenToTheDevice) {
    ui.StartAndBuildNavigation();
    DescribeEditableKeys();
    CTextDataSetEventImpl text(1, kNumberKey, "", "7.25", true);
    CComboBoxSetEventImpl combo(1, kEnumKey, "", {"Open", "", 0}, 0);
    CBitEnumSetEventImpl bits(1, kBitsKey, "", 0xFFFFFFFFu, true);
    EXPECT_TRUE(model.OnUIEvent(text) && model.OnUIEvent(combo) && model.OnUIEvent(bits));
    EXPECT_FALSE(text.HasError() || combo.HasError() || bits.HasError());
    EXPECT_EQ(ui.TakeLog(), (Texts{"set 17 16842752 7.25", "fn 17 5 16842752",
                                   "describe 17 16908288", "set 17 16908288 1", "fn 17 5 16908288",
                                   "set 17 16973824 4294967295", "fn 17 5 16973824"}));

    // Without the commit flag, or with a caption that is no choice, nothing is written.
    CTextDataSetEventImpl draft(1, kNumberKey, "", "1", false);
    CBitEnumSetEventImpl bitsDraft(1, kBitsKey, "", 1, false);
    CComboBoxSetEventImpl unknownChoice(1, kEnumKey, "", {"Half", "", 0}, 0);
    EXPECT_FALSE(model.OnUIEvent(draft) || model.OnUIEvent(bitsDraft) ||
                 model.OnUIEvent(unknownChoice));
    EXPECT_EQ(ui.TakeLog(), Texts{"describe 17 16908288"});

    // A refused value carries the DTM's text and is not written to the device.
    ui.refusal = "Value is too high";
    EXPECT_TRUE(model.OnUIEvent(text));
    EXPECT_EQ(text.GetErrorText(), "Value is too high");
    EXPECT_EQ(ui.TakeLog(), Texts{"set 17 16842752 7.25"});
}

TEST_F(EditModelTest, ViewRequestsBuildFromTheViewTableOnly) {
    model.Start();
    ui.log.clear();
    std::vector<SViewContext> built;
    auto create = [&](const SViewContext& context) {
        built.push_back(context);
        return std::make_unique<NiceMock<MockView>>(context.viewId);
    };
    EXPECT_TRUE(model.GetViewTable().Add(1000, 202, create));
    EXPECT_FALSE(model.GetViewTable().Add(1000, 203, create));

    CViewRequestEventImpl unknown(4242), known(1000);
    EXPECT_FALSE(model.OnUIEvent(unknown));
    EXPECT_TRUE(built.empty());
    EXPECT_TRUE(model.OnUIEvent(known));
    EXPECT_EQ(ui.TakeLog(), (Texts{"fn 0 6", "fn 0 6"}));
    ASSERT_EQ(built.size(), 1u);
    EXPECT_NE(ui.controller.FindView(1000), nullptr);
    const SViewContext& context = built[0];
    EXPECT_EQ(context.dialogId, 202);
    EXPECT_TRUE(context.controller == &ui.controller && context.parent == ui.splitter);
    EXPECT_EQ(context.parameters, model.GetParameterDescriptionFactory());
    EXPECT_EQ(context.deviceState, model.GetDeviceState());
    EXPECT_TRUE(context.parameterAccess && context.uiAccess);
}

TEST_F(EditModelTest, StartLoadsBothAlarmInformationFilesAndHandsThemToTheViews) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string stem = "edit-model-test-" + std::to_string(::getpid());
    const std::string alarmFile = (folder / (stem + "-alarms.xml")).string();
    const std::string diagnosticFile = (folder / (stem + "-diagnostic.xml")).string();
    std::ofstream(alarmFile)
        << R"(<AlarmInformation><Alarm id="22" shortDescription="Friction high"/>
        <Alarm id="2x" shortDescription="bad"/><Alarm id="40" shortDescription="Supply pressure low"/>
        </AlarmInformation>)";
    std::ofstream(diagnosticFile) << R"(<DiagnosticAlarmInformation>
        <Alarm id="22" shortDescription="Friction high" faultDescription="Too much friction."/>
        </DiagnosticAlarmInformation>)";
    ui.properties = {{"AlarmInformationPath", alarmFile},
                     {"DiagnosticAlarmInformationPath", diagnosticFile}};
    std::vector<SViewContext> built;
    model.GetViewTable().Add(1200, 343, [&](const SViewContext& context) {
        built.push_back(context);
        return std::make_unique<NiceMock<MockView>>(context.viewId);
    });

    model.Start();
    std::filesystem::remove(alarmFile);
    std::filesystem::remove(diagnosticFile);
    // The bad alarm is reported once; the others load.
    ASSERT_EQ(guards.errors.size(), 1u);
    EXPECT_NE(std::exchange(guards.errors, {})[0].find("'2x'"), std::string::npos);
    EXPECT_EQ(model.GetAlarmInformation().Size(), 2u);
    CViewRequestEventImpl request(1200);
    EXPECT_TRUE(model.OnUIEvent(request));
    ASSERT_EQ(built.size(), 1u);
    ASSERT_TRUE(built[0].alarmInformation && built[0].diagnosticAlarmInformation);
    EXPECT_EQ(built[0].alarmInformation, &model.GetAlarmInformation());
    EXPECT_EQ(built[0].alarmInformation->FindId("Supply pressure low"), 40u);
    ASSERT_NE(built[0].diagnosticAlarmInformation->Find(22), nullptr);
    EXPECT_EQ(built[0].diagnosticAlarmInformation->Find(22)->faultDescription,
              "Too much friction.");

    // Loaded at each start only: files gone or a failing DTM leave the texts empty, and a
    // failing DTM is reported for each file while the start goes on.
    model.Start();
    EXPECT_EQ(guards.errors, Texts{});
    EXPECT_EQ(model.GetAlarmInformation().Size() + model.GetDiagnosticAlarmInformation().Size(),
              0u);
    ui.propertyFails = true;
    ui.log.clear();
    EXPECT_NO_THROW(model.Start());
    const Texts log = ui.TakeLog();
    EXPECT_EQ(Texts(log.begin(), log.begin() + 4),
              (Texts{"property TooltipInformationPath", "property AlarmInformationPath",
                     "property DiagnosticAlarmInformationPath", "register 0.25"}));
    EXPECT_EQ(std::exchange(guards.errors, {}).size(), 3u);
    EXPECT_EQ(model.GetAlarmInformation().Size() + model.GetDiagnosticAlarmInformation().Size(),
              0u);
}

TEST_F(EditModelTest, ShowingAViewBuildsItOnceAndReadsItsParametersOnEachActivation) {
    ui.StartAndBuildNavigation();
    int builds = 0;
    model.GetViewTable().Add(1100, 351, [&](const SViewContext& context) {
        ++builds;
        auto view = std::make_unique<NiceMock<MockView>>(context.viewId);
        ON_CALL(*view, GetListOfControls())
            .WillByDefault(Return("<ListOfControls><Control tag='a' parameterID='16842752'/>"
                                  "<Control parameterID='16908289'/></ListOfControls>"));
        return view;
    });
    ui.controller.ShowView(1100);
    ui.controller.ShowView(1100);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(ui.TakeLog(), (Texts{"fn 17 6", "fn 17 6", "fn 17 4 16842752", "fn 17 4 16908289",
                                   "fn 17 6", "fn 17 4 16842752", "fn 17 4 16908289"}));
}

TEST_F(EditModelTest, UpdatesRefreshTheCurrentViewsControlAndHandControlDataToView10) {
    auto* current = AddView(1100);
    auto* controlDataView = AddView(10, false);
    ui.log.clear();
    EXPECT_CALL(*current, RefreshControl(16842752));
    EXPECT_CALL(*controlDataView, UpdateControls("<ControlData/>"));
    model.OnUpdate(100, "16842752");
    model.OnUpdate(40, "<ControlData/>");
    EXPECT_EQ(ui.TakeLog(), Texts{});
}

TEST_F(EditModelTest, WatchedKeysRefreshTheDeviceState) {
    model.Start();
    const SDeviceState& state = *model.GetDeviceState();
    auto report = [&](std::uint32_t key, const std::string& value, int updateType = 100) {
        ui.Describe(key, 0, R"(valueType="eint16" value=")" + value + "\"");
        model.OnUpdate(updateType, std::to_string(key));
        return state.modeText + (state.inService ? " in " : " out ") + state.setpointModeText +
               (state.parameter348Set ? " set" : " clear");
    };
    EXPECT_EQ(report(19464192, "17"), "OOS out  clear");
    EXPECT_EQ(report(19464192, "240", 600), "SRV in  clear"); // whatever the update type
    EXPECT_EQ(report(19791872, "0"), "SRV in AUTO clear");
    EXPECT_EQ(report(19791872, "1"), "SRV in LO clear");
    EXPECT_EQ(report(19791872, "2"), "SRV in DTM clear");
    EXPECT_EQ(report(19791872, "3"), "SRV in DTM clear");
    EXPECT_EQ(report(22806528, "-1"), "SRV in DTM set");
    EXPECT_EQ(report(22806528, "0"), "SRV in DTM clear");
    EXPECT_EQ(report(22806528, "300"), "SRV in DTM clear"); // not a signed 8-bit number
    EXPECT_EQ(std::exchange(guards.errors, {}), Texts{"Value is out of range"});
    EXPECT_EQ(ui.log.back(), "describe 2 22806528");
}

TEST_F(EditModelTest, TerminateEndsTheSessionAndDropsTheDtmEvenWhenTheDtmFailsTheCall) {
    for (const bool fails : {false, true}) {
        CControlHarness control;
        control.StartAndBuildNavigation();
        control.executeFails = fails;
        EXPECT_TRUE(control.model.CanRelease());
        EXPECT_NO_THROW(control.model.Terminate());
        EXPECT_FALSE(control.model.GetUIAccess() || control.model.GetUIRegistration());
        control.model.ShowHelp(0, 0);
        EXPECT_EQ(control.TakeLog(), fails ? Texts{} : Texts{"fn 17 1"});
        EXPECT_EQ(std::exchange(guards.errors, {}).size(), fails ? 1u : 0u);
    }
}

// Two controls in one process: each model builds its own navigation and keeps its own device.
TEST(TwoControls, EachBuildsItsNavigationAndKeepsItsDeviceState) {
    CControlHarness first;
    CControlHarness second;
    first.model.Start();
    second.model.Start();
    first.ReportNavigationKey();
    second.ReportNavigationKey();
    EXPECT_EQ(first.layouts.size() + second.layouts.size(), 2u);

    first.Describe(19464192, 0, R"(valueType="euint8" value="17")");
    first.model.OnUpdate(100, "19464192");
    first.model.GetDeviceState()->activeAlarmCount = 4;
    EXPECT_EQ(first.model.GetDeviceState()->modeText, "OOS");
    EXPECT_EQ(second.model.GetDeviceState()->modeText, "SRV");
    EXPECT_EQ(second.model.GetDeviceState()->activeAlarmCount, 0);
}

TEST(EditModelLinks, MissingDtmInterfacesStayEmptyAndOtherQueryFailuresRaise) {
    CControlHarness ui;
    CEditModel model;
    ui.uiQueryFailure = E_NOINTERFACE;
    model.Initialize(nullptr, nullptr, static_cast<IDtmUIAccess*>(ui.dtm.Get()), "", "");
    EXPECT_FALSE(model.GetUIAccess() || model.GetUIRegistration());
    EXPECT_THROW(model.Start(), ComError); // no IDtmParameterAccess without the UI access
    EXPECT_EQ(model.CreateCustomControl(xml::Node(), nullptr), nullptr);

    ui.uiQueryFailure = E_FAIL;
    EXPECT_THROW(
        model.Initialize(nullptr, nullptr, static_cast<IDtmUIAccess*>(ui.dtm.Get()), "", ""),
        ComError);
}

TEST(EditModelLinks, StartRegistersWithTheControlFactoryUntilTheModelGoes) {
    CControlHarness ui;
    {
        CEditModel model;
        model.Initialize(nullptr, nullptr, static_cast<IDtmUIAccess*>(ui.dtm.Get()), "", "");
        model.Start();
        EXPECT_EQ(CFdtControlFactory::Instance().GetCustomFactory(), &model);
    }
    EXPECT_EQ(CFdtControlFactory::Instance().GetCustomFactory(), nullptr);
}

} // namespace
