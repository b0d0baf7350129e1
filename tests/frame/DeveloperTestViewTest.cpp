// The developer test view (2005), a generic view of the built-in layout description, against
// the simulated positioner: its values, a write to the device, a refused value and the
// parameters the DTM does not describe.

#include "DeviceViewsFixture.h"

#include "controls/FdtBitEnumControl.h"
#include "controls/FdtComboBoxControl.h"
#include "controls/FdtTextControl.h"
#include "controls/GenericApplicationView.h"

#include <QLineEdit>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

constexpr int kDeveloperView = 2005;
constexpr std::uint32_t kStrokeLength = 0x01430001;
constexpr std::uint32_t kValveTag = 0x01270000;
constexpr std::uint32_t kFeatures = 0x017C0000;

class DeveloperTestViewTest : public DeviceViewsTest {
protected:
    template <class Control> Control* Find(std::uint32_t key) {
        auto* view = dynamic_cast<CGenericApplicationView*>(
            m_control->GetController().FindView(kDeveloperView));
        return view ? dynamic_cast<Control*>(view->FindControl(static_cast<int>(key))) : nullptr;
    }
    // The calls of the DTM since the log was cleared that name `key`.
    std::vector<std::string> CallsOf(std::uint32_t key) {
        std::vector<std::string> calls;
        for (const std::string& line : Dtm().Calls().Lines()) {
            if (line.find(std::to_string(key)) != std::string::npos &&
                line.find("GetControlData") == std::string::npos) {
                calls.push_back(line);
            }
        }
        return calls;
    }
    void Enter(QLineEdit* edit, const char* text) {
        edit->selectAll();
        edit->insert(QString::fromUtf8(text));
        Q_EMIT edit->editingFinished();
        Advance(m_scheduler, 10 * kLatencyMs);
    }
};

TEST_F(DeveloperTestViewTest, ShowsTheDeviceValuesWritesAnEditAndShowsWhatTheDtmRefuses) {
    m_window = Show(kDeveloperView);
    ASSERT_NE(m_window, nullptr);
    auto* stroke = Find<CFdtTextControl>(kStrokeLength);
    ASSERT_NE(stroke, nullptr);
    EXPECT_EQ(stroke->GetWindowText(), "40");
    EXPECT_EQ(stroke->GetUnitWindow()->text().toStdString(), "mm");
    EXPECT_EQ(Find<CFdtComboBoxControl>(0x01210000)->GetWindowText(), "Linear");
    EXPECT_EQ(Find<CFdtBitEnumControl>(kFeatures)->GetValue(), 3u);
    EXPECT_EQ(Find<CFdtTextControl>(0x04080002)->GetWindowText(),
              Dtm().Positioner().Read(0x04080002).value_or("none")); // a live value

    // An edit goes to the DTM's copy, then to the device.
    Dtm().Calls().Clear();
    Enter(stroke->GetEdit(), "55");
    const std::string key = std::to_string(kStrokeLength);
    EXPECT_THAT(CallsOf(kStrokeLength), ElementsAre("SetParameterValue(100, " + key + ", 55)",
                                                    "ExecuteFunction(100, 5, " + key + ")"));
    EXPECT_EQ(Dtm().Positioner().Read(kStrokeLength), "55");
    EXPECT_EQ(stroke->GetState(), CFdtControlBase::kStateNormal);

    // A value out of range: the DTM's text on the control, nothing written to the device.
    Dtm().Calls().Clear();
    Enter(stroke->GetEdit(), "600");
    ASSERT_EQ(CallsOf(kStrokeLength).size(), 1u);
    EXPECT_TRUE(stroke->HasSemanticError());
    EXPECT_EQ(stroke->GetSemanticErrorText(), "Value must be within 5 and 500");
    EXPECT_EQ(stroke->GetStateIcon()->toolTip().toStdString(), stroke->GetSemanticErrorText());
    EXPECT_EQ(stroke->GetWindowText(), "600");
    EXPECT_EQ(Dtm().Positioner().Read(kStrokeLength), "55");
    Enter(stroke->GetEdit(), "60");
    EXPECT_FALSE(stroke->HasSemanticError());

    // A toggled bit and a chosen entry are written as numbers.
    Dtm().Calls().Clear();
    Find<CFdtBitEnumControl>(kFeatures)->GetCheckBoxes().at(2)->click();
    auto* type = Find<CFdtComboBoxControl>(0x01210000);
    type->GetComboBox()->setCurrentIndex(1);
    Q_EMIT type->GetComboBox()->activated(1);
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Dtm().Positioner().Read(kFeatures), "7");
    EXPECT_EQ(Dtm().Positioner().Read(0x01210000), "1");

    // Read all: the DTM reads every parameter of the view from the device again.
    Dtm().Calls().Clear();
    Click("Read all");
    EXPECT_THAT(CallsOf(kStrokeLength), Contains("ExecuteFunction(100, 4, " + key + ")"));
}

TEST_F(DeveloperTestViewTest, AParameterTheDtmDoesNotDescribeIsShownNotAvailable) {
    Dtm().Faults().undescribedKeys = {kValveTag};
    Dtm().Calls().Clear();
    m_window = Show(kDeveloperView);
    auto* tag = Find<CFdtTextControl>(kValveTag);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->GetState(), CFdtControlBase::kStateNotAvailable);
    EXPECT_FALSE(tag->GetEdit()->isEnabled());
    EXPECT_EQ(tag->GetStateIcon()->toolTip().toStdString(), "Value is not available!");
    // Whatever the DTM refuses is reported, and the view's other parameters are read.
    EXPECT_THAT(m_reports, Contains(HasSubstr("view parameter read")));
    EXPECT_THAT(m_reports, Each(::testing::AnyOf(HasSubstr("view parameter read"),
                                                 HasSubstr("data-bound control"))));
    // The valve tag's key comes before the stroke length's.
    EXPECT_THAT(CallsOf(kStrokeLength),
                Contains("ExecuteFunction(100, 4, " + std::to_string(kStrokeLength) + ")"));
    EXPECT_EQ(Find<CFdtTextControl>(kStrokeLength)->GetState(), CFdtControlBase::kStateNormal);
    EXPECT_EQ(m_control->GetController().GetCurrentViewId(), kDeveloperView);
}

TEST_F(DeveloperTestViewTest, EveryParameterOfTheViewIsDescribedAndRead) {
    m_window = Show(kDeveloperView);
    auto* view =
        dynamic_cast<CGenericApplicationView*>(m_control->GetController().FindView(kDeveloperView));
    ASSERT_NE(view, nullptr);
    for (const CFdtControlBase* control : view->GetLaidOutControls()) {
        EXPECT_NE(control->GetState(), CFdtControlBase::kStateNotAvailable);
    }
    EXPECT_THAT(m_reports, IsEmpty());
}

} // namespace
