#include "EditModelHarness.h"

using ::testing::_;

CControlHarness::CControlHarness() {
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
    LogDtm();
    LogAreas();
}

void CControlHarness::LogDtm() {
    ON_CALL(access, ExecuteFunction(_, _, _, _))
        .WillByDefault([this](auto request, auto id, auto& argument, auto*) {
            Log("fn", request, id, argument);
            return S_OK;
        });
    ON_CALL(access, SetParameterValue(_, _, _, _))
        .WillByDefault([this](auto request, auto key, auto& value, auto* response) {
            Log("set", request, key, value);
            *response = refusal;
            return S_OK;
        });
    ON_CALL(access, OpenContext(_, _)).WillByDefault([this](auto& functionCall, auto* context) {
        Log("open", functionCall);
        *context = kContext;
        return openFails ? E_FAIL : S_OK;
    });
    ON_CALL(access, GetControlData(_, _, _, _))
        .WillByDefault([this](auto request, auto key, auto* kind, auto* document) {
            Log("describe", request, key);
            const auto found = descriptions.find(key);
            const SControlData reply =
                found != descriptions.end() ? found->second : SControlData{4, {}};
            *kind = reply.kind;
            *document = reply.document;
            return S_OK;
        });
    ON_CALL(*dtm, GetProperty(_, _)).WillByDefault([this](auto& name, Variant* value) {
        Log("property", name);
        *value = Variant(properties[name]);
        return S_OK;
    });
    ON_CALL(*dtm, ShowUserDialog(_, _, _)).WillByDefault([this](auto& kind, auto& message, auto*) {
        Log("dialog", kind, message.ToString());
        return S_OK;
    });
}

void CControlHarness::LogAreas() {
    ON_CALL(action, AddAction(_, _, _)).WillByDefault([this](int id, auto& caption, int alignment) {
        Log("action", id, caption, alignment);
        return true;
    });
    ON_CALL(toolbar, AddButtonResource(_, _, _, _))
        .WillByDefault([this](int id, int bitmap, int kind, auto& text) {
            Log("button", id, bitmap, kind, text);
            return true;
        });
    ON_CALL(toolbar, AddButtonIcon(_, _, _, _))
        .WillByDefault([this](int id, auto&, int kind, auto& text) {
            Log("button", id, "icon", kind, text);
            return true;
        });
    ON_CALL(toolbar, DeleteButton(_)).WillByDefault([this](int id) { Log("delete", id); });
    ON_CALL(navigation, SelectView(_)).WillByDefault([this](int id) {
        Log("select", id);
        return false;
    });
    ON_CALL(identification, SetDevicePictureFile(_)).WillByDefault([this](auto& path) {
        Log("picture", path);
    });
    ON_CALL(identification, SetLogoFile(_, _)).WillByDefault([this](auto& path, auto& text) {
        Log("logo", path, text);
    });
    ON_CALL(identification, SetLine2(_)).WillByDefault([this](auto& text) { Log("line2", text); });
    ON_CALL(identification, SetLine3(_)).WillByDefault([this](auto& text) { Log("line3", text); });
}
