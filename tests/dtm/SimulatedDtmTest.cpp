#include "DtmTestSupport.h"
#include "com/ComError.h"
#include "xml/Xml.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

using Updates = std::vector<CFakeControl::Update>;

std::string Changed(std::uint32_t key) {
    return std::to_string(key);
}

// A control that offers no IUpdateUI.
class CControlWithoutUpdates : public ComObject<IDtmActiveXControl> {
public:
    HRESULT Init(const std::string&, const std::string&, IUnknown*, VARIANT_BOOL*) override {
        return S_OK;
    }
    HRESULT PrepareToRelease(VARIANT_BOOL*) override { return S_OK; }
};

using SimulatedDtm = DtmTest;

TEST_F(SimulatedDtm, ReportsEveryStateChangeToTheRegisteredUserInterface) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    EXPECT_TRUE(m_dtm->IsUIRegistered());

    // Each setter changes its own attribute of the state document, and only a change reports.
    const struct {
        std::function<void()> change;
        const char* attribute;
        const char* expected;
    } changes[] = {
        {[&] { m_dtm->SetName("FV-101 <\"&'>"); }, "name", "FV-101 <\"&'>"},
        {[&] { m_dtm->SetState("GoingOffline"); }, "state", "GoingOffline"},
        {[&] { m_dtm->SetDataSetState("validModified"); }, "dataSetState", "validModified"},
        {[&] { m_dtm->SetUserLevel("observer"); }, "userLevel", "observer"},
        {[&] { m_dtm->SetPrivateDialogEnabled(false); }, "isPrivateDialogEnabled", "0"},
        {[&] { m_dtm->SetCommunicating(true); }, "isCommunicating", "1"},
        {[&] { m_dtm->SetModifiedInDevice(true); }, "modifiedInDevice", "1"},
    };
    for (const auto& step : changes) {
        SCOPED_TRACE(step.attribute);
        step.change();
        const Updates updates = m_control->TakeUpdates();
        ASSERT_EQ(updates.size(), 1u);
        EXPECT_EQ(updates[0].first, dtm_update::kStateDocument);
        const xml::Document state = xml::Document::Parse(updates[0].second);
        EXPECT_EQ(state.Attribute(std::string("//@") + step.attribute), step.expected);
        std::string current;
        ASSERT_EQ(m_dtm.As<IDtmUIAccess>()->GetStateDocument(&current), S_OK);
        EXPECT_EQ(current, updates[0].second);
        step.change();
        EXPECT_TRUE(m_control->TakeUpdates().empty()) << "the same value again is no change";
    }

    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(m_dtm->UnregisterUI("invoke-1", VARIANT_TRUE, &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    EXPECT_FALSE(m_dtm->IsUIRegistered());
    m_dtm->SetState("Online");
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    EXPECT_EQ(m_dtm->UnregisterUI("invoke-1", VARIANT_FALSE, &result), S_OK);
    EXPECT_EQ(result, VARIANT_FALSE);

    // The fallback interface registers as well.
    VARIANT_BOOL registered = VARIANT_FALSE;
    EXPECT_EQ(m_dtm.As<IDtmUIAccess>()->RegisterUI(kProgId, "invoke-2", m_control.Get(),
                                                   VARIANT_TRUE, &registered),
              S_OK);
    EXPECT_EQ(registered, VARIANT_TRUE);
    m_dtm->SetState("Aborted");
    EXPECT_EQ(m_control->TakeUpdates().size(), 1u);
}

TEST_F(SimulatedDtm, RefusesRegistrationItCannotServe) {
    auto silent = MakeCom<CControlWithoutUpdates>();
    auto registration = m_dtm.As<IDtmUIRegistration>();
    const std::pair<IDtmActiveXControl*, VARIANT_BOOL> refused[] = {
        {silent.Get(), VARIANT_TRUE}, {nullptr, VARIANT_TRUE}, {m_control.Get(), VARIANT_FALSE}};
    for (const auto& [control, enable] : refused) {
        VARIANT_BOOL registered = VARIANT_TRUE;
        EXPECT_EQ(registration->RegisterUI(kProgId, "a", control, enable, &registered), S_OK);
        EXPECT_EQ(registered, VARIANT_FALSE);
    }
    EXPECT_EQ(registration->RegisterUI(kProgId, "d", m_control.Get(), VARIANT_TRUE, nullptr),
              E_POINTER);

    m_dtm->Faults().refuseRegistration = true;
    EXPECT_EQ(Register(), VARIANT_FALSE);
    EXPECT_FALSE(m_dtm->IsUIRegistered());
    m_dtm->SetState("GoingOnline");
    EXPECT_TRUE(m_control->TakeUpdates().empty());
}

TEST_F(SimulatedDtm, ReadIsReportedOnlyAfterTheBusLatencyARecordElementByElement) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    m_dtm->SetBusLatency(50);
    m_dtm->Device().Write(keys::kServiceMode, "241");
    EXPECT_EQ(Fetch(keys::kServiceMode), "240");

    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kServiceMode), &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    m_scheduler.AdvanceBy(49);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    EXPECT_EQ(Fetch(keys::kServiceMode), "240") << "the value is still on the bus";
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(m_control->TakeUpdates(), (Updates{{dtm_update::kParameterChanged, "19464192"}}));
    EXPECT_EQ(Fetch(keys::kServiceMode), "241");

    // Replies queue behind each other like frames on the bus.
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kActiveAlarmCount)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kCurrentAlarm)), S_OK);
    m_scheduler.AdvanceBy(50);
    EXPECT_EQ(m_control->TakeUpdates(), (Updates{{100, Changed(keys::kActiveAlarmCount)}}));
    m_scheduler.AdvanceBy(49);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(m_control->TakeUpdates(), (Updates{{100, Changed(keys::kCurrentAlarm)}}));

    // A record is read as a whole and reported element by element; it has no descriptor.
    m_dtm->Device().Write(keys::kCommandState, "200");
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kDeviceCommand)), S_OK);
    m_scheduler.AdvanceBy(50);
    EXPECT_EQ(
        m_control->TakeUpdates(),
        (Updates{{100, "22740993"}, {100, "22740994"}, {100, "22740995"}, {100, "22740996"}}));
    EXPECT_EQ(Fetch(keys::kCommandState), "200");
    EXPECT_EQ(Fetch(keys::kDeviceCommand), "(none)");
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kFrameNumber)), S_OK);
    m_scheduler.AdvanceBy(50);
    EXPECT_EQ(m_control->TakeUpdates(), (Updates{{100, "22740996"}}));
}

TEST_F(SimulatedDtm, SetChangesTheDataSetAndWriteTakesItToTheDevice) {
    EXPECT_EQ(Set(keys::kSetpointMode, "2"), "");
    EXPECT_EQ(Fetch(keys::kSetpointMode), "2");
    EXPECT_EQ(m_dtm->Device().Read(keys::kSetpointMode), "0");
    EXPECT_TRUE(m_dtm->DataSet().Find(keys::kSetpointMode)->modified);
    EXPECT_EQ(Execute(dtm_function::kWrite, Changed(keys::kSetpointMode)), S_OK);
    EXPECT_EQ(m_dtm->Device().Read(keys::kSetpointMode), "2");
    EXPECT_FALSE(m_dtm->DataSet().Find(keys::kSetpointMode)->modified);

    // A write of a whole record takes every element.
    EXPECT_EQ(Set(keys::kFrameNumber, "3"), "");
    EXPECT_EQ(Set(keys::kDeviceCommand + 1, "39"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, Changed(keys::kDeviceCommand)), S_OK);
    EXPECT_EQ(m_dtm->Device().Read(keys::kFrameNumber), "3");
    EXPECT_EQ(m_dtm->Device().Read(keys::kDeviceCommand + 1), "39");

    // Values that do not suit the parameter are refused with a reason; nothing changes.
    EXPECT_EQ(Set(keys::kSetpointMode, "3"), "Value \"3\" is not a choice");
    EXPECT_EQ(Set(keys::kActiveAlarmCount, "256"), "Value must be within 0 and 255");
    EXPECT_EQ(Set(keys::kActiveAlarmCount, "-1"), "Value must be within 0 and 255");
    EXPECT_EQ(Set(keys::kActiveAlarmCount, "1x"), "Value \"1x\" is not a number");
    EXPECT_EQ(Set(keys::kActiveAlarmCount, "nan"), "Value \"nan\" is not a number");
    EXPECT_EQ(Set(keys::kDeviceCommand, "1"), "A record is written element by element");
    EXPECT_EQ(Set(123, "1"), "Unknown parameter 123");
    EXPECT_EQ(Fetch(keys::kSetpointMode), "2");
    EXPECT_EQ(Fetch(keys::kActiveAlarmCount), "1");
}

TEST_F(SimulatedDtm, AcceptsTheUserInterfaceFunctionsAndRefusesBadArguments) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    for (const std::int32_t function : {0, 1, 3, 6}) {
        VARIANT_BOOL result = VARIANT_FALSE;
        EXPECT_EQ(Execute(function, "", &result), S_OK);
        EXPECT_EQ(result, VARIANT_TRUE);
    }
    VARIANT_BOOL result = VARIANT_TRUE;
    EXPECT_EQ(Execute(17, "", &result), E_NOTIMPL);
    EXPECT_EQ(result, VARIANT_FALSE);
    for (const char* argument : {"", "abc", "-1", " 19464192", "19464192x", "4294967296", "1"}) {
        SCOPED_TRACE(argument);
        EXPECT_EQ(Execute(dtm_function::kRead, argument), E_INVALIDARG);
        EXPECT_EQ(Execute(dtm_function::kWrite, argument), E_INVALIDARG);
    }
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
    EXPECT_EQ(m_dtm->ExecuteFunction(2, 0, "", nullptr), E_POINTER);

    // Every call is in the log, in order, with its arguments.
    m_dtm->Calls().Clear();
    std::int32_t context = 0;
    EXPECT_EQ(m_dtm->OpenContext("<FDT/>", &context), S_OK);
    EXPECT_EQ(Execute(dtm_function::kViewActivated, ""), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, "19791872"), S_OK);
    EXPECT_EQ(Set(keys::kSetpointMode, "1"), "");
    EXPECT_EQ(m_dtm->Calls().Lines(),
              (std::vector<std::string>{"OpenContext(<FDT/>)", "ExecuteFunction(2, 6, )",
                                        "ExecuteFunction(2, 4, 19791872)",
                                        "SetParameterValue(2, 19791872, 1)"}));
    EXPECT_EQ(m_dtm->Calls().Count("ExecuteFunction"), 2u);
}

TEST_F(SimulatedDtm, FaultSwitchesMakeItMisbehave) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    m_dtm->Faults().dropReadReplies = true;
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kServiceMode), &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    m_scheduler.AdvanceBy(60000);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    m_dtm->Faults().dropReadReplies = false;

    constexpr HRESULT kBusError = static_cast<HRESULT>(0x80040200u);
    m_dtm->Faults().failingOperations["GetControlData"] = kBusError;
    try {
        Fetch(keys::kServiceMode);
        ADD_FAILURE() << "the fetch should fail";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Result(), kBusError);
        EXPECT_EQ(error.Interface(), IDtmParameterAccess::Iid);
    }
    EXPECT_EQ(m_dtm->Calls().Lines("GetControlData").back(), "GetControlData(2, 19464192)");
    m_dtm->Faults().failingOperations.clear();
    EXPECT_EQ(Fetch(keys::kServiceMode), "240");

    m_dtm->Faults().failingOperations["ExecuteFunction"] = E_UNEXPECTED;
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kServiceMode)), E_UNEXPECTED);
    m_scheduler.AdvanceBy(60000);
    EXPECT_TRUE(m_control->TakeUpdates().empty());

    m_dtm->Faults().hideRegistration = true;
    const ComPtr<IUnknown> dtm = m_dtm.As<IDtmParameterAccess>().As<IUnknown>();
    ASSERT_TRUE(dtm);
    EXPECT_FALSE(dtm.As<IDtmUIRegistration>());
    EXPECT_FALSE(dtm.As<IDtmUIAccess>());
    EXPECT_TRUE(dtm.As<IDtmParameterAccess>());
    EXPECT_EQ(dtm->QueryInterface(IDtmUIAccess::Iid, nullptr), E_POINTER);
    m_dtm->Faults().hideRegistration = false;
    EXPECT_TRUE(dtm.As<IDtmUIRegistration>());
}

TEST_F(SimulatedDtm, AnswersPropertiesContextsAndUserDialogs) {
    auto access = m_dtm.As<IDtmUIAccess>();
    for (const std::string name :
         {"VFDTag", "DeviceNodeId", "DTMVersion", "DeviceCategory", "Manufacturer",
          "DeviceImagePath", "CompanyLogoPath", "BrandLogoPath", "TooltipInformationPath",
          "AlarmInformationPath", "DiagnosticAlarmInformationPath"}) {
        Variant value;
        EXPECT_EQ(access->GetProperty(name, &value), S_OK) << name;
        EXPECT_FALSE(value.ToString().empty()) << name;
        if (name.ends_with("Path")) {
            EXPECT_TRUE(std::filesystem::is_regular_file(value.ToString())) << name;
        }
        if (value.ToString().ends_with(".png")) {
            EXPECT_FALSE(QImage(QString::fromStdString(value.ToString())).isNull()) << name;
        }
    }
    Variant unknown("left over");
    EXPECT_EQ(access->GetProperty("SerialNumber", &unknown), E_INVALIDARG);
    EXPECT_TRUE(unknown.IsEmpty());

    std::int32_t first = 0;
    std::int32_t second = 0;
    EXPECT_EQ(m_dtm->OpenContext("<FDT/>", &first), S_OK);
    EXPECT_EQ(m_dtm->OpenContext("<FDT/>", &second), S_OK);
    EXPECT_EQ(first, CSimulatedDtm::kFirstContext);
    EXPECT_EQ(second, first + 1);

    std::vector<std::string> shown;
    m_dtm->SetUserDialogHandler([&](const std::string& kind, const std::string& message) {
        shown.push_back(kind + ": " + message);
    });
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(access->ShowUserDialog("TestPrint", Variant(9999), &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    EXPECT_EQ(shown, (std::vector<std::string>{"TestPrint: 9999"}));
    EXPECT_EQ(m_dtm->Calls().Lines("ShowUserDialog").front(), "ShowUserDialog(TestPrint, 9999)");

    // A failure inside a call comes back as E_FAIL, never as an exception.
    m_dtm->SetUserDialogHandler(
        [](const std::string&, const std::string&) { throw std::runtime_error("frame gone"); });
    EXPECT_EQ(access->ShowUserDialog("ShowHelp", Variant(1100), &result), E_FAIL);
}

TEST_F(SimulatedDtm, NoReplyOutlivesTheDtmOrReachesAnUnregisteredInterface) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    // The control unregisters while the first element of a record is reported: the other
    // elements reach nobody.
    m_control->m_onUpdate = [&] {
        VARIANT_BOOL result = VARIANT_FALSE;
        m_dtm->UnregisterUI("invoke-1", VARIANT_TRUE, &result);
    };
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kDeviceCommand)), S_OK);
    m_scheduler.AdvanceBy(CSimulatedDtm::kDefaultBusLatencyMs);
    EXPECT_EQ(m_control->TakeUpdates().size(), 1u);

    // Pending replies go with the DTM.
    m_control->m_onUpdate = nullptr;
    ASSERT_EQ(Register(), VARIANT_TRUE);
    EXPECT_EQ(Execute(dtm_function::kRead, Changed(keys::kServiceMode)), S_OK);
    EXPECT_EQ(m_scheduler.TimerCount(), 1u);
    m_dtm = nullptr;
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
    m_scheduler.AdvanceBy(1000);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
}

} // namespace
