#include "server/ServerRegistration.h"

#include "server/Registry.h"

#include <initializer_list>

namespace {

constexpr std::string_view kClassDescription = "OnlineView Class";
constexpr std::string_view kAppIdDescription = "VelaFFOnlineUI";
constexpr std::string_view kModuleAppIdKey = "VelaFFDiagnosisUI.DLL";
constexpr std::string_view kThreadingModel = "Apartment";
constexpr std::string_view kToolboxBitmapId = "102";
// The control's OLE status bits for drawing its content: recompose on resize, cannot link
// inside, inside-out, activate when visible, set the client site first.
constexpr std::string_view kMiscStatusContent = "131473";
constexpr std::string_view kTypeLibVersion = "1.0";
constexpr std::string_view kDefault = "";

// Joins key names into a key path.
std::string Key(std::initializer_list<std::string_view> names) {
    std::string path;
    for (const auto name : names) {
        path += path.empty() ? "" : "\\";
        path += name;
    }
    return path;
}

std::string ClassKey(const CLSID& clsid) {
    return Key({"CLSID", clsid.ToString()});
}

void WriteProgIds(Registry& registry, const std::string& clsid) {
    registry.SetValue(kOnlineViewProgId, kDefault, kClassDescription);
    registry.SetValue(Key({kOnlineViewProgId, "CLSID"}), kDefault, clsid);
    const auto independent = kOnlineViewVersionIndependentProgId;
    registry.SetValue(independent, kDefault, kClassDescription);
    registry.SetValue(Key({independent, "CLSID"}), kDefault, clsid);
    registry.SetValue(Key({independent, "CurVer"}), kDefault, kOnlineViewProgId);
}

void WriteClass(Registry& registry, const ServerIds& ids, std::string_view modulePath) {
    const std::string key = ClassKey(ids.m_clsid);
    // The class entry is force-removed: whatever an earlier registration left goes first.
    registry.DeleteTree(key);
    registry.SetValue(key, kDefault, kClassDescription);
    registry.SetValue(Key({key, "ProgID"}), kDefault, kOnlineViewProgId);
    registry.SetValue(Key({key, "VersionIndependentProgID"}), kDefault,
                      kOnlineViewVersionIndependentProgId);
    registry.CreateKey(Key({key, "Programmable"}));
    registry.SetValue(Key({key, "InprocServer32"}), kDefault, modulePath);
    registry.SetValue(Key({key, "InprocServer32"}), "ThreadingModel", kThreadingModel);
    registry.SetValue(key, "AppID", ids.m_appid.ToString());
    registry.CreateKey(Key({key, "Control"}));
    registry.SetValue(Key({key, "ToolboxBitmap32"}), kDefault,
                      std::string(modulePath) + "," + std::string(kToolboxBitmapId));
    registry.SetValue(Key({key, "MiscStatus"}), kDefault, "0");
    registry.SetValue(Key({key, "MiscStatus", "1"}), kDefault, kMiscStatusContent);
    registry.SetValue(Key({key, "TypeLib"}), kDefault, ids.m_libid.ToString());
    registry.SetValue(Key({key, "Version"}), kDefault, kTypeLibVersion);
}

void WriteAppId(Registry& registry, const ServerIds& ids) {
    const std::string appid = ids.m_appid.ToString();
    registry.SetValue(Key({"AppID", appid}), kDefault, kAppIdDescription);
    registry.SetValue(Key({"AppID", kModuleAppIdKey}), "AppID", appid);
}

// A ProgID is one key name directly under the root.
bool IsProgId(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

// The ProgID's current version when it names one that is registered, else the ProgID.
std::string CurrentVersion(const Registry& registry, std::string_view progId) {
    const auto current = registry.GetValue(Key({progId, "CurVer"}), kDefault);
    if (current && IsProgId(*current) && registry.KeyExists(*current)) {
        return *current;
    }
    return std::string(progId);
}

} // namespace

void RegisterServer(Registry& registry, const ServerIds& ids, std::string_view modulePath) {
    WriteProgIds(registry, ids.m_clsid.ToString());
    WriteClass(registry, ids, modulePath);
    WriteAppId(registry, ids);
}

void UnregisterServer(Registry& registry, const ServerIds& ids) {
    registry.DeleteTree(kOnlineViewProgId);
    registry.DeleteTree(kOnlineViewVersionIndependentProgId);
    registry.DeleteTree(ClassKey(ids.m_clsid));
    registry.DeleteTree(Key({"AppID", ids.m_appid.ToString()}));
    registry.DeleteTree(Key({"AppID", kModuleAppIdKey}));
}

std::optional<ResolvedServer> ResolveProgId(const Registry& registry, std::string_view progId) {
    if (!IsProgId(progId)) {
        return std::nullopt;
    }
    const auto clsidText =
        registry.GetValue(Key({CurrentVersion(registry, progId), "CLSID"}), kDefault);
    const auto clsid = clsidText ? GUID::Parse(*clsidText) : std::nullopt;
    if (!clsid) {
        return std::nullopt;
    }
    const auto modulePath = registry.GetValue(Key({ClassKey(*clsid), "InprocServer32"}), kDefault);
    if (!modulePath || modulePath->empty()) {
        return std::nullopt;
    }
    return ResolvedServer{*clsid, *modulePath};
}
