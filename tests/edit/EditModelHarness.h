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

#include <gmock/gmock.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using Texts = std::vector<std::string>;

// A DTM offering IDtmUIRegistration and IDtmUIAccess; asked for IDtmParameterAccess it hands
// out `parameters`.
class CFakeDtm : public ComObject<IDtmUIRegistration, IDtmUIAccess> {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (riid == IDtmParameterAccess::Iid) {
            return parameters->QueryInterface(riid, object);
        }
        return ComObject::QueryInterface(riid, object);
    }
    MOCK_METHOD(HRESULT, RegisterUI,
                (const std::string&, const std::string&, IDtmActiveXControl*, VARIANT_BOOL,
                 VARIANT_BOOL*),
                (override));
    MOCK_METHOD(HRESULT, UnregisterUI, (const std::string&, VARIANT_BOOL, VARIANT_BOOL*),
                (override));
    MOCK_METHOD(HRESULT, GetStateDocument, (std::string*), (override));
    MOCK_METHOD(HRESULT, GetProperty, (const std::string&, Variant*), (override));
    MOCK_METHOD(HRESULT, ShowUserDialog, (const std::string&, const Variant&, VARIANT_BOOL*),
                (override));

    ComPtr<::testing::NiceMock<CFakeParameterAccess>> parameters =
        MakeCom<::testing::NiceMock<CFakeParameterAccess>>();
};

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

    CControlHarness();

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

    // One log entry: the words joined by blanks, empty words left out.
    template <class... Words> void Log(const Words&... words) {
        std::string entry;
        auto add = [&entry](const auto& word) {
            std::ostringstream text;
            text << word;
            if (!text.str().empty()) {
                entry += (entry.empty() ? "" : " ") + text.str();
            }
        };
        (add(words), ...);
        log.push_back(entry);
    }

    // What the DTM answers: control data, properties, the response of SetParameterValue and
    // whether OpenContext fails.
    std::map<std::uint32_t, SControlData> descriptions;
    std::map<std::string, std::string> properties;
    std::string refusal;
    bool openFails = false;

    Texts log;
    Texts layouts;
    ComPtr<::testing::NiceMock<CFakeDtm>> dtm = MakeCom<::testing::NiceMock<CFakeDtm>>();
    ::testing::NiceMock<CFakeParameterAccess>& access = *dtm->parameters.Get();
    CEditModel model;
    QWidget control;
    CSplitter* splitter = new CSplitter(&control);
    ::testing::NiceMock<MockActionArea> action;
    ::testing::NiceMock<MockToolbarArea> toolbar;
    ::testing::NiceMock<MockIdentificationArea> identification;
    ::testing::NiceMock<MockNavigationArea> navigation;
    CUIController controller; // goes first, with its views

private:
    void LogDtm();
    void LogAreas();
};
