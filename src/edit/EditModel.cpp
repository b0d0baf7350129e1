#include "edit/EditModel.h"

#include "com/ComError.h"
#include "controls/FdtControlFactory.h"
#include "model/BitEnumParameterDescriptor.h"
#include "model/Conversions.h"
#include "model/EnumParameterDescriptor.h"
#include "ui/AppViewActionInvoked.h"
#include "ui/Guard.h"
#include "ui/SharedIcons.h"
#include "ui/UIController.h"
#include "xml/Xml.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// The DTM properties shown in the identification area, in the order they are asked for. A
// brand logo that loads replaces the company logo.
struct SIdentificationProperty {
    const char* name;
    void (*show)(IIdentificationArea& area, const std::string& text);
};
constexpr SIdentificationProperty kIdentificationProperties[] = {
    {"DeviceImagePath",
     [](IIdentificationArea& a, const std::string& t) { a.SetDevicePictureFile(t); }},
    {"CompanyLogoPath", [](IIdentificationArea& a, const std::string& t) { a.SetLogoFile(t, {}); }},
    {"DeviceCategory", [](IIdentificationArea& a, const std::string& t) { a.SetLine2(t); }},
    {"Manufacturer", [](IIdentificationArea& a, const std::string& t) { a.SetLine3(t); }},
    {"BrandLogoPath", [](IIdentificationArea& a, const std::string& t) { a.SetLogoFile(t, {}); }},
};

// Toolbar buttons: images (bitmap resources and shared icons) and tooltips.
constexpr int kPrintBitmap = 233;
constexpr int kHelpBitmap = 232;
constexpr int kShowTreeIcon = 20;
constexpr int kHideTreeIcon = 27;
constexpr const char* kPrintText = "Standard Print!";
constexpr const char* kShowTreeText = "Show navigation tree.";
constexpr const char* kHideTreeText = "Hide navigation tree.";
constexpr const char* kHelpText = "Show help!";

// The service mode value that means "in service", and the setpoint mode texts by value.
constexpr std::int64_t kInServiceValue = 240;
constexpr std::array<const char*, 3> kSetpointModeTexts{"AUTO", "LO", "DTM"};

// The parameter key that a control identifier names.
std::uint32_t KeyOf(int controlId) {
    return static_cast<std::uint32_t>(controlId);
}

} // namespace

std::string CEditModel::LoadLayoutDescription() {
    QFile file(QStringLiteral(":/layout/OnlineLayout.xml"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

// --- DTM access ----------------------------------------------------------------------------

IDtmParameterAccess& CEditModel::ParameterAccess() {
    if (!m_parameterAccess) {
        m_parameterAccess = QueryOptional<IDtmParameterAccess>(GetUIAccess().Get());
        if (!m_parameterAccess) {
            throw ComError(E_NOINTERFACE, IDtmParameterAccess::Iid, "QueryInterface");
        }
    }
    return *m_parameterAccess;
}

void CEditModel::Execute(std::int32_t request, std::int32_t functionId,
                         const std::string& argument) {
    VARIANT_BOOL result = VARIANT_FALSE;
    ThrowIfFailed(ParameterAccess().ExecuteFunction(request, functionId, argument, &result),
                  IDtmParameterAccess::Iid, "ExecuteFunction");
}

void CEditModel::Write(std::uint32_t parameterKey, const std::string& value, CUIEventBase& event) {
    std::string response;
    ThrowIfFailed(ParameterAccess().SetParameterValue(m_context, parameterKey, value, &response),
                  IDtmParameterAccess::Iid, "SetParameterValue");
    if (!response.empty()) {
        event.SetError(response);
        return;
    }
    Execute(m_context, dtm_function::kWrite, CConversions::to_string(parameterKey));
}

std::string CEditModel::GetProperty(const std::string& name) const {
    Variant value;
    ThrowIfFailed(GetUIAccess()->GetProperty(name, &value), IDtmUIAccess::Iid, "GetProperty");
    return value.ToString();
}

void CEditModel::ShowUserDialog(const std::string& dialogKind, std::int32_t value) const {
    if (const ComPtr<IDtmUIAccess>& access = GetUIAccess()) {
        VARIANT_BOOL result = VARIANT_FALSE;
        ThrowIfFailed(access->ShowUserDialog(dialogKind, Variant(value), &result),
                      IDtmUIAccess::Iid, "ShowUserDialog");
    }
}

template <class Descriptor>
Descriptor* CEditModel::Find(std::int32_t request, std::uint32_t parameterKey) {
    if (!m_factory) {
        return nullptr;
    }
    return dynamic_cast<Descriptor*>(m_factory->GetParameterDescription(request, parameterKey));
}

// --- Life cycle ----------------------------------------------------------------------------

CEditModel::~CEditModel() {
    // The control factory must not keep asking a model that is gone.
    CFdtControlFactory::Instance().RemoveCustomFactory(this);
}

void CEditModel::Start() {
    IUIController* controller = GetController();
    // Each start talks to the DTM of the latest Initialize: its parameter access is asked for
    // again and its descriptors are read anew. Views built on an earlier DTM's descriptors go
    // with those descriptors; the navigation build shows the start view again.
    m_parameterAccess = nullptr;
    m_context = 0;
    if (m_factory && controller) {
        controller->RemoveAllViews();
    }
    m_factory.reset();
    LoadTooltipInformation();
    LoadAlarmInformation(m_alarmInformation, "CEditModel: alarm information");
    LoadAlarmInformation(m_diagnosticAlarmInformation, "CEditModel: diagnostic alarm information");
    *m_deviceState = SDeviceState{};
    m_navigationBuilt = false;
    if (controller) {
        controller->SetSplitterRatio(kSplitterRatio);
    }
    if (m_controlFactoryRegistration) {
        m_controlFactoryRegistration(*this);
    } else {
        CFdtControlFactory::Instance().SetCustomFactory(this);
    }
    Execute(m_context, dtm_function::kUIStarted, {});
    if (IActionArea* actions = controller ? controller->GetActionArea() : nullptr) {
        actions->AddAction(kActionClose, "Close", IActionArea::kRightGroup);
    }
    m_factory = std::make_unique<CParameterDescriptionFactory>(
        ComPtr<IDtmParameterAccess>(&ParameterAccess()));
    for (const std::uint32_t key : kWatchedKeys) {
        Execute(kRequest, dtm_function::kRead, CConversions::to_string(key));
    }
}

void CEditModel::LoadTooltipInformation() {
    if (!GetUIAccess()) {
        return;
    }
    // A tooltip file that cannot be had leaves the tooltips empty; the start goes on.
    Guarded("CEditModel: tooltip information", [this] {
        m_tooltipInformation.Load([this](const QString& name) {
            return QString::fromStdString(GetProperty(name.toStdString()));
        });
    });
}

void CEditModel::LoadAlarmInformation(CAlarmInformationBase& information, const char* where) {
    // Loaded once per start. A file that cannot be had leaves the texts empty (names,
    // descriptions and recommendations show empty); a failing DTM query is reported, an
    // alarm with a bad id is reported and skipped; the start goes on in every case.
    information.Clear();
    if (!GetUIAccess()) {
        return;
    }
    Guarded(where, [&] {
        information.Load([this](const std::string& name) { return GetProperty(name); },
                         [where](const std::string& message) { ReportGuardError(where, message); });
    });
}

void CEditModel::Terminate() {
    // Ending the session is best effort: the DTM references go whether or not the DTM took
    // the call, so that a released model never keeps a failing DTM alive.
    Guarded("CEditModel::Terminate", [&] { Execute(m_context, dtm_function::kUITerminated, {}); });
    m_parameterAccess = nullptr;
    CEditModelBase::Terminate();
}

// --- DTM updates ---------------------------------------------------------------------------

void CEditModel::OnUpdate(int updateType, const std::string& data) {
    // The controller hands the update on to the areas and the views after the model: a
    // failure here is reported, not passed up, so that they still get it.
    Guarded("CEditModel::OnUpdate", [&] {
        OnWatchedParameter(data);
        if (updateType == dtm_update::kParameterChanged) {
            RefreshCurrentViewControl(data);
        } else if (updateType == dtm_update::kViewControlData && GetController()) {
            GetController()->UpdateViewControls(kControlDataViewId, data);
        }
    });
}

void CEditModel::OnWatchedParameter(const std::string& data) {
    const auto watched = std::ranges::find_if(
        kWatchedKeys, [&data](std::uint32_t key) { return data == CConversions::to_string(key); });
    if (watched == kWatchedKeys.end()) {
        return;
    }
    if (*watched == kNavigationKey) {
        BuildNavigationOnce();
    } else {
        RefreshDeviceState(*watched);
    }
}

void CEditModel::RefreshDeviceState(std::uint32_t parameterKey) {
    const IParameterDescription* descriptor = Find<IParameterDescription>(kRequest, parameterKey);
    if (descriptor == nullptr) {
        return;
    }
    const std::int64_t value = CConversions::to_int64(descriptor->GetValue());
    SDeviceState& state = *m_deviceState;
    if (parameterKey == kServiceModeKey) {
        state.inService = value == kInServiceValue;
        state.modeText = state.inService ? "SRV" : "OOS";
    } else if (parameterKey == kSetpointModeKey) {
        if (value >= 0 && value < std::ssize(kSetpointModeTexts)) {
            state.setpointModeText = kSetpointModeTexts[static_cast<std::size_t>(value)];
        }
    } else if (parameterKey == kParameter348Key) {
        state.parameter348Set = CConversions::to_int8(value) != 0;
    }
}

void CEditModel::RefreshCurrentViewControl(const std::string& data) {
    // The data-bound controls of the current view that show the parameter read it again.
    if (IUIController* controller = GetController()) {
        const std::uint32_t key = CConversions::to_uint32(data);
        controller->RefreshViewControl(controller->GetCurrentViewId(), static_cast<int>(key));
    }
}

// --- Navigation ----------------------------------------------------------------------------

void CEditModel::BuildNavigationOnce() {
    if (m_navigationBuilt) {
        return;
    }
    // Set first, so that a report arriving while the navigation is built does not build it
    // again; cleared when building fails, so that the next report tries again.
    m_navigationBuilt = true;
    try {
        BuildNavigation();
    } catch (...) {
        m_navigationBuilt = false;
        throw;
    }
}

void CEditModel::BuildNavigation() {
    std::int32_t context = 0;
    ThrowIfFailed(ParameterAccess().OpenContext(GetFunctionCall(), &context),
                  IDtmParameterAccess::Iid, "OpenContext");
    m_context = context;
    IUIController* controller = GetController();
    if (controller == nullptr) {
        return;
    }
    controller->LoadLayout(LoadLayoutDescription());
    FillIdentification();
    if (INavigationArea* navigation = controller->GetNavigationArea()) {
        navigation->SelectView(kStartViewId);
    }
    m_startViewId = kStartViewId;
    if (IToolbarArea* toolbar = controller->GetToolbarArea()) {
        FillToolbar(*toolbar);
    }
}

void CEditModel::FillIdentification() {
    IIdentificationArea* area = GetController()->GetIdentificationArea();
    if (area == nullptr || !GetUIAccess()) {
        return;
    }
    for (const SIdentificationProperty& property : kIdentificationProperties) {
        property.show(*area, GetProperty(property.name));
    }
}

void CEditModel::FillToolbar(IToolbarArea& toolbar) {
    toolbar.AddButtonResource(kActionPrint, kPrintBitmap, IToolbarArea::kPushButton, kPrintText);
    AddTreeButton(toolbar, GetController()->IsNavigationTreeHidden());
    AddHelpButton(toolbar);
}

void CEditModel::AddTreeButton(IToolbarArea& toolbar, bool treeHidden) {
    toolbar.AddButtonIcon(
        kActionToggleTree,
        CSharedIcons::Instance().GetIcon(treeHidden ? kShowTreeIcon : kHideTreeIcon),
        IToolbarArea::kPushButton, treeHidden ? kShowTreeText : kHideTreeText);
}

void CEditModel::AddHelpButton(IToolbarArea& toolbar) {
    toolbar.AddButtonResource(kActionHelp, kHelpBitmap, IToolbarArea::kPushButton, kHelpText);
}

void CEditModel::ToggleNavigationTree() {
    IUIController* controller = GetController();
    if (controller == nullptr) {
        return;
    }
    controller->HideNavigationTree(!controller->IsNavigationTreeHidden());
    IToolbarArea* toolbar = controller->GetToolbarArea();
    if (toolbar == nullptr) {
        return;
    }
    // A button's tooltip is its label: the tree button is made again with the label of the
    // tree's new state, then the help button, so that it stays after the tree button.
    toolbar->DeleteButton(kActionToggleTree);
    AddTreeButton(*toolbar, controller->IsNavigationTreeHidden());
    toolbar->DeleteButton(kActionHelp);
    AddHelpButton(*toolbar);
}

// --- Events --------------------------------------------------------------------------------

bool CEditModel::OnUIEvent(CUIEventBase& event) {
    if (auto* text = dynamic_cast<CTextDataGetEvent*>(&event)) {
        return AnswerTextData(*text);
    }
    if (auto* comboBox = dynamic_cast<CComboBoxGetEvent*>(&event)) {
        return AnswerComboBox(*comboBox);
    }
    if (auto* bits = dynamic_cast<CBitEnumGetEvent*>(&event)) {
        return AnswerBitEnum(*bits);
    }
    return event.Dispatch(*this);
}

bool CEditModel::AnswerTextData(CTextDataGetEvent& event) {
    const auto* descriptor = Find<IParameterDescription>(m_context, KeyOf(event.GetControlId()));
    if (descriptor == nullptr) {
        return false;
    }
    event.SetValue(descriptor->GetValue());
    event.SetUnitText(descriptor->GetUnit());
    return true;
}

bool CEditModel::AnswerComboBox(CComboBoxGetEvent& event) {
    const auto* descriptor = Find<CEnumParameterDescriptor>(m_context, KeyOf(event.GetControlId()));
    if (descriptor == nullptr) {
        return false;
    }
    std::vector<CComboBoxChoice> choices;
    for (const SChoice& choice : descriptor->GetChoices()) {
        choices.push_back({choice.caption, CConversions::to_string(choice.tag),
                           static_cast<std::int32_t>(choice.tag)});
    }
    event.SetChoiceCollection(choices);
    const std::optional<std::uint32_t> tag = descriptor->GetCurrentTag();
    if (const std::string* caption = tag ? descriptor->GetCaption(*tag) : nullptr) {
        event.SetSelectedValue(*caption);
    }
    return true;
}

bool CEditModel::AnswerBitEnum(CBitEnumGetEvent& event) {
    const auto* descriptor =
        Find<CBitEnumParameterDescriptor>(m_context, KeyOf(event.GetControlId()));
    if (descriptor == nullptr) {
        return false;
    }
    event.SetValue(CConversions::to_uint32(descriptor->GetValue()));
    return true;
}

bool CEditModel::OnTextDataSet(CTextDataSetEvent& event) {
    if (!event.GetFlag()) {
        return false;
    }
    Write(KeyOf(event.GetControlId()), event.GetValue(), event);
    return true;
}

bool CEditModel::OnBitEnumSet(CBitEnumSetEvent& event) {
    if (!event.GetFlag()) {
        return false;
    }
    Write(KeyOf(event.GetControlId()), CConversions::to_string(event.GetValue()), event);
    return true;
}

bool CEditModel::OnComboBoxSet(CComboBoxSetEvent& event) {
    const std::uint32_t key = KeyOf(event.GetControlId());
    const auto* descriptor = Find<CEnumParameterDescriptor>(m_context, key);
    const std::optional<std::uint32_t> tag =
        descriptor ? descriptor->GetTag(event.GetSelectedChoice().label) : std::nullopt;
    if (!tag) {
        return false;
    }
    Write(key, CConversions::to_string(*tag), event);
    return true;
}

bool CEditModel::OnAction(CActionEvent& event) {
    switch (event.GetActionId()) {
    case kActionToggleTree:
        ToggleNavigationTree();
        return true;
    case kActionInvokeView:
        return InvokeCurrentView(event);
    case kActionClose:
        Execute(m_context, dtm_function::kCloseRequested, {});
        return true;
    case kActionPrint:
        ShowUserDialog("TestPrint", 9999);
        return true;
    case kActionPrintView:
        ShowUserDialog("TestPrint", GetCurrentViewId());
        return true;
    case kActionHelp:
        if (GetController()) {
            GetController()->ForwardToEditModel(0, 0);
        }
        return true;
    default:
        return false;
    }
}

bool CEditModel::InvokeCurrentView(CActionEvent& event) {
    IApplicationView* current =
        GetController() ? GetController()->FindView(GetCurrentViewId()) : nullptr;
    auto* view = dynamic_cast<IAppViewActionInvoked*>(current);
    if (view == nullptr) {
        return false;
    }
    view->OnActionInvoked(event);
    return true;
}

void CEditModel::ShowHelp(int, int) {
    ShowUserDialog("ShowHelp", GetCurrentViewId());
}

int CEditModel::GetCurrentViewId() const {
    return GetController() ? GetController()->GetCurrentViewId() : -1;
}

bool CEditModel::OnViewRequest(CViewRequestEvent& event) {
    Execute(m_context, dtm_function::kViewActivated, {});
    IUIController* controller = GetController();
    if (controller == nullptr || !m_factory) {
        return false;
    }
    std::unique_ptr<IApplicationView> view =
        m_viewTable.Create({.viewId = event.GetViewId(),
                            .controller = controller,
                            .parent = controller->GetViewParent(),
                            .parameters = m_factory.get(),
                            .parameterAccess = m_parameterAccess,
                            .uiAccess = GetUIAccess(),
                            .deviceState = m_deviceState,
                            .textProvider = GetTextProvider(),
                            .alarmInformation = &m_alarmInformation,
                            .diagnosticAlarmInformation = &m_diagnosticAlarmInformation});
    if (!view) {
        return false;
    }
    view->SetController(controller);
    return controller->RegisterView(event.GetViewId(), view);
}

bool CEditModel::OnViewActivated(CViewActivatedEvent& event) {
    Execute(m_context, dtm_function::kViewActivated, {});
    const IApplicationView* view =
        GetController() ? GetController()->FindView(event.GetViewId()) : nullptr;
    if (view == nullptr) {
        return true;
    }
    const xml::Document controls = xml::Document::TryParse(view->GetListOfControls());
    if (!controls) {
        return true;
    }
    // A parameter the DTM refuses to read is reported; the view's other parameters are read.
    for (const xml::Node& parameter : controls.SelectAll("//@parameterID")) {
        Guarded("CEditModel: view parameter read", [&] {
            const std::uint32_t key = CConversions::to_uint32(parameter.Text());
            Execute(m_context, dtm_function::kRead, CConversions::to_string(key));
        });
    }
    return true;
}
