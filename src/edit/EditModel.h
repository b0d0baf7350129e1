#pragma once

#include "controls/CustomFdtControlFactory.h"
#include "edit/EditModelBase.h"
#include "edit/ViewTable.h"
#include "model/AlarmInformation.h"
#include "model/DeviceState.h"
#include "model/ParameterDescriptionFactory.h"
#include "ui/TooltipInformation.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IToolbarArea;

// The positioner's edit model. Start opens the DTM session and asks the DTM for four watched
// parameters; the first report of the last of them builds the navigation (layout, identification,
// dashboard, toolbar). From then on it answers the controls' events from the parameter
// descriptors, writes their changes to the DTM, runs the toolbar and action-area commands,
// builds requested views from its view table and keeps the device state record up to date.
//
// The navigation-built flag and the device state record belong to the model, one per control,
// so that two controls in one process each build their own navigation and keep their devices
// apart; the record is shared with the views of this control only.
class CEditModel : public CEditModelBase, public ICustomFdtControlFactory {
public:
    // The parameters the model watches: service mode, setpoint mode, parameter 348 and the
    // parameter whose first report builds the navigation.
    static constexpr std::uint32_t kServiceModeKey = 19464192;  // 0x01290000
    static constexpr std::uint32_t kSetpointModeKey = 19791872; // 0x012E0000
    static constexpr std::uint32_t kParameter348Key = 22806528; // 0x015C0000
    static constexpr std::uint32_t kNavigationKey = 23199744;   // 0x01620000
    static constexpr std::array<std::uint32_t, 4> kWatchedKeys{kServiceModeKey, kSetpointModeKey,
                                                               kParameter348Key, kNavigationKey};

    // The request of reads that do not name the DTM context.
    static constexpr std::int32_t kRequest = 2;
    // Commands of the toolbar and the action area.
    static constexpr int kActionToggleTree = 10;
    static constexpr int kActionInvokeView = 100;
    static constexpr int kActionClose = 200;
    static constexpr int kActionPrint = 300;
    static constexpr int kActionPrintView = 400;
    static constexpr int kActionHelp = 500;

    // The dashboard, selected once the navigation is built.
    static constexpr int kStartViewId = 1100;
    // The view whose controls take the control data of update type 40.
    static constexpr int kControlDataViewId = 10;
    // The part of the width the navigation tree gets.
    static constexpr double kSplitterRatio = 0.25;

    CEditModel() = default;
    // Leaves the control factory if Start registered the model there.
    ~CEditModel() override;

    // Registers the model with the control factory, as the factory of custom controls.
    using ControlFactoryRegistration = std::function<void(ICustomFdtControlFactory& factory)>;

    // Start runs it in place of registering with the process's control factory.
    void SetControlFactoryRegistration(ControlFactoryRegistration registration) {
        m_controlFactoryRegistration = std::move(registration);
    }

    // IUIEditModel
    // Never raises: a failure (a DTM call, a value that is not a number) is reported through
    // the guard and the update goes no further in the model.
    void OnUpdate(int updateType, const std::string& data) override;
    void Start() override;
    void Terminate() override;
    bool OnUIEvent(CUIEventBase& event) override;
    void ShowHelp(int first, int second) override;

    // IUIEventCallback
    bool OnAction(CActionEvent& event) override;
    bool OnViewActivated(CViewActivatedEvent& event) override;
    bool OnViewRequest(CViewRequestEvent& event) override;
    bool OnBitEnumSet(CBitEnumSetEvent& event) override;
    bool OnComboBoxSet(CComboBoxSetEvent& event) override;
    bool OnTextDataSet(CTextDataSetEvent& event) override;

    // ICustomFdtControlFactory: the positioner has no custom controls.
    std::unique_ptr<IFdtControl> CreateCustomControl(const xml::Node&, QWidget*) override {
        return nullptr;
    }

    // The views this model can build; each view adds its row.
    CViewTable& GetViewTable() { return m_viewTable; }
    std::shared_ptr<SDeviceState> GetDeviceState() const { return m_deviceState; }
    // The descriptors of every view and control; null before Start.
    IDirectParameterAccess* GetParameterDescriptionFactory() const { return m_factory.get(); }
    const CTooltipInformation& GetTooltipInformation() const { return m_tooltipInformation; }
    // The alarm texts, loaded at Start; empty when the DTM names no readable file.
    const CAlarmInformation& GetAlarmInformation() const { return m_alarmInformation; }
    const CDiagnosticAlarmInformation& GetDiagnosticAlarmInformation() const {
        return m_diagnosticAlarmInformation;
    }
    // The DTM context number that OpenContext answered; 0 until then.
    std::int32_t GetContext() const { return m_context; }
    // 0 until the navigation is built.
    int GetStartViewId() const { return m_startViewId; }

    // The built-in layout description (the navigation tree of the positioner's views).
    static std::string LoadLayoutDescription();

private:
    // IDtmParameterAccess of the DTM, queried on the UI access when first needed; raises
    // ComError when the DTM does not offer it.
    IDtmParameterAccess& ParameterAccess();
    void Execute(std::int32_t request, std::int32_t functionId, const std::string& argument);
    // SetParameterValue, then function 5 (write to the device); a refused value marks the
    // event with the DTM's text and goes no further.
    void Write(std::uint32_t parameterKey, const std::string& value, CUIEventBase& event);
    std::string GetProperty(const std::string& name) const;
    void ShowUserDialog(const std::string& dialogKind, std::int32_t value) const;
    // The descriptor of the key as `Descriptor`; null when there is none or it is another kind.
    template <class Descriptor> Descriptor* Find(std::int32_t request, std::uint32_t parameterKey);

    bool AnswerTextData(CTextDataGetEvent& event);
    bool AnswerComboBox(CComboBoxGetEvent& event);
    bool AnswerBitEnum(CBitEnumGetEvent& event);

    void LoadTooltipInformation();
    void LoadAlarmInformation(CAlarmInformationBase& information, const char* where);
    void OnWatchedParameter(const std::string& data);
    void RefreshDeviceState(std::uint32_t parameterKey);
    void RefreshCurrentViewControl(const std::string& data);

    void BuildNavigationOnce();
    void BuildNavigation();
    void FillIdentification();
    void FillToolbar(IToolbarArea& toolbar);
    void AddTreeButton(IToolbarArea& toolbar, bool treeHidden);
    void AddHelpButton(IToolbarArea& toolbar);
    void ToggleNavigationTree();
    bool InvokeCurrentView(CActionEvent& event);
    int GetCurrentViewId() const;

    std::int32_t m_context = 0;
    std::unique_ptr<CParameterDescriptionFactory> m_factory;
    CTooltipInformation m_tooltipInformation;
    CAlarmInformation m_alarmInformation;
    CDiagnosticAlarmInformation m_diagnosticAlarmInformation;
    std::shared_ptr<SDeviceState> m_deviceState = std::make_shared<SDeviceState>();
    bool m_navigationBuilt = false;
    int m_startViewId = 0;
    ComPtr<IDtmParameterAccess> m_parameterAccess;
    CViewTable m_viewTable;
    ControlFactoryRegistration m_controlFactoryRegistration;
};
