#pragma once

// One control's worth of the user interface around a real edit model: a real controller with
// its splitter, fake areas and a fake DTM. Every DTM call and area call is written into one
// log, in order, so that a test compares the whole protocol at once.

#include "edit/EditModel.h"
#include "model/ModelTestSupport.h"
#include "ui/Guard.h"
#include "ui/Splitter.h"
#include "ui/UIController.h"
#include "ui/UiFakes.h"

#include <QIcon>

#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using Texts = std::vector<std::string>;

// Collects the errors that guards report while it lives.
class CGuardLog {
public:
    CGuardLog() : m_previous(SetGuardReporter([this](auto&, auto& e) { errors.push_back(e); })) {}
    ~CGuardLog() { SetGuardReporter(m_previous); }

    Texts errors;

private:
    GuardReporter m_previous;
};

class CControlHarness {
public:
    // What OpenContext answers.
    static constexpr std::int32_t kContext = 17;

    // A DTM that answers from the harness's tables and logs every call. Registration and
    // state are not the edit model's business.
    class CFakeDtm : public ComObject<IDtmUIRegistration, IDtmUIAccess, IDtmParameterAccess> {
    public:
        explicit CFakeDtm(CControlHarness& ui) : m_ui(ui) {}

        HRESULT QueryInterface(REFIID riid, void** object) override {
            if (m_ui.uiQueryFailure != S_OK &&
                (riid == IDtmUIAccess::Iid || riid == IDtmUIRegistration::Iid)) {
                *object = nullptr;
                return m_ui.uiQueryFailure;
            }
            return ComObject::QueryInterface(riid, object);
        }
        HRESULT RegisterUI(const std::string&, const std::string&, IDtmActiveXControl*,
                           VARIANT_BOOL, VARIANT_BOOL*) override {
            return E_NOTIMPL;
        }
        HRESULT UnregisterUI(const std::string&, VARIANT_BOOL, VARIANT_BOOL*) override {
            return E_NOTIMPL;
        }
        HRESULT GetStateDocument(std::string*) override { return E_NOTIMPL; }
        HRESULT GetProperty(const std::string& name, Variant* value) override {
            m_ui.Log("property", name);
            if (m_ui.propertyFails) {
                return E_FAIL;
            }
            *value = Variant(m_ui.properties[name]);
            return S_OK;
        }
        HRESULT ShowUserDialog(const std::string& kind, const Variant& message,
                               VARIANT_BOOL*) override {
            m_ui.Log("dialog", kind, message.ToString());
            return S_OK;
        }
        HRESULT GetControlData(std::int32_t request, std::uint32_t key, std::int32_t* kind,
                               std::string* document) override {
            m_ui.Log("describe", request, key);
            const auto found = m_ui.descriptions.find(key);
            const bool described = found != m_ui.descriptions.end();
            *kind = described ? found->second.kind : 4;
            *document = described ? found->second.document : "";
            return S_OK;
        }
        HRESULT SetParameterValue(std::int32_t request, std::uint32_t key, const std::string& value,
                                  std::string* response) override {
            m_ui.Log("set", request, key, value);
            *response = m_ui.refusal;
            return S_OK;
        }
        HRESULT ExecuteFunction(std::int32_t request, std::int32_t id, const std::string& argument,
                                VARIANT_BOOL*) override {
            if (m_ui.executeFails) {
                return E_FAIL;
            }
            m_ui.Log("fn", request, id, argument);
            return S_OK;
        }
        HRESULT OpenContext(const std::string& functionCall, std::int32_t* context) override {
            m_ui.Log("open", functionCall);
            *context = kContext;
            return m_ui.openFails ? E_FAIL : S_OK;
        }

    private:
        CControlHarness& m_ui;
    };

    // One log entry: the words joined by blanks, empty words left out, an icon as "icon".
    template <class... Words> void Log(const Words&... words) {
        std::string entry;
        auto add = [&entry](const auto& word) {
            std::ostringstream text;
            if constexpr (std::is_same_v<std::decay_t<decltype(word)>, QIcon>) {
                text << "icon";
            } else {
                text << word;
            }
            if (!text.str().empty()) {
                entry += (entry.empty() ? "" : " ") + text.str();
            }
        };
        (add(words), ...);
        log.push_back(entry);
    }
    // An area call's action: logs `name` and the arguments, answers `answer`.
    auto Logged(const char* name, bool answer = true) {
        return [this, name, answer](const auto&... arguments) {
            Log(name, arguments...);
            return answer;
        };
    }

    CControlHarness() {
        using ::testing::_;
        controller.SetSplitter(splitter);
        controller.SetActionArea(&action);
        controller.SetToolbarArea(&toolbar);
        controller.SetIdentificationArea(&identification);
        controller.SetNavigationArea(&navigation);
        controller.SetLayoutParser([this](const std::string& layout, auto&&...) {
            Log("layout");
            layouts.push_back(layout);
        });
        controller.SetEditModel(&model);
        model.Initialize(&controller, nullptr, static_cast<IDtmUIAccess*>(dtm.Get()), "invoke-1",
                         "VelaFFDiagnosisUI.OnlineView");
        model.SetFunctionCall("<FunctionCall/>");
        model.SetControlFactoryRegistration(
            [this](ICustomFdtControlFactory&) { Log("register", controller.GetSplitterRatio()); });
        ON_CALL(action, AddAction(_, _, _)).WillByDefault(Logged("action"));
        ON_CALL(toolbar, AddButtonResource(_, _, _, _)).WillByDefault(Logged("button"));
        ON_CALL(toolbar, AddButtonIcon(_, _, _, _)).WillByDefault(Logged("button"));
        ON_CALL(toolbar, DeleteButton(_)).WillByDefault(Logged("delete"));
        ON_CALL(navigation, SelectView(_)).WillByDefault(Logged("select", false));
        ON_CALL(identification, SetDevicePictureFile(_)).WillByDefault(Logged("picture"));
        ON_CALL(identification, SetLogoFile(_, _)).WillByDefault(Logged("logo"));
        ON_CALL(identification, SetLine2(_)).WillByDefault(Logged("line2"));
        ON_CALL(identification, SetLine3(_)).WillByDefault(Logged("line3"));
    }

    // The DTM describes `key` with `kind` and a control data document of `attributes`; a key
    // it does not describe has a kind without descriptor.
    void Describe(std::uint32_t key, std::int32_t kind, const std::string& attributes,
                  const std::string& children = {}) {
        descriptions[key] = {kind, ControlData(attributes, children)};
    }
    // The DTM reports the parameter that builds the navigation.
    void ReportNavigationKey() { model.OnUpdate(100, "23199744"); }
    void StartAndBuildNavigation() {
        model.Start();
        ReportNavigationKey();
        log.clear();
    }
    Texts TakeLog() { return std::exchange(log, {}); }

    // What the DTM answers: control data, properties, the response of SetParameterValue,
    // whether GetProperty, OpenContext and ExecuteFunction fail, and what a query for either UI
    // interface answers when not S_OK.
    std::map<std::uint32_t, SControlData> descriptions;
    std::map<std::string, std::string> properties;
    std::string refusal;
    bool propertyFails = false;
    bool openFails = false;
    bool executeFails = false;
    HRESULT uiQueryFailure = S_OK;

    Texts log;
    Texts layouts;
    ComPtr<CFakeDtm> dtm = MakeCom<CFakeDtm>(*this);
    CEditModel model;
    QWidget control;
    CSplitter* splitter = new CSplitter(&control);
    ::testing::NiceMock<MockActionArea> action;
    ::testing::NiceMock<MockToolbarArea> toolbar;
    ::testing::NiceMock<MockIdentificationArea> identification;
    ::testing::NiceMock<MockNavigationArea> navigation;
    CUIController controller; // goes first, with its views
};
