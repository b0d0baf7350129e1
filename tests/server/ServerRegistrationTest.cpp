#include "server/ServerRegistration.h"

#include "server/Registry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr const char* kModule = "/opt/vela/lib/libVelaFFDiagnosisUI.so";
constexpr const char* kOtherClsid = "{7F3A2C10-1B2D-4E5F-8A9B-0C1D2E3F4A5B}";
const std::string kOtherClass = std::string("CLSID\\") + kOtherClsid;

// Every value below `path` as "path|name=data", and every key holding neither values nor
// subkeys as "path"; all of the registry for "".
std::set<std::string> Listing(const Registry& registry, const std::string& path = "") {
    std::set<std::string> out;
    const auto names = registry.ValueNames(path);
    const auto subkeys = registry.SubKeys(path);
    if (names.empty() && subkeys.empty() && !path.empty()) {
        out.insert(path);
    }
    for (const auto& name : names) {
        out.insert(path + "|" + name + "=" + registry.GetValue(path, name).value_or("?"));
    }
    for (const auto& sub : subkeys) {
        out.merge(Listing(registry, path.empty() ? sub : path + "\\" + sub));
    }
    return out;
}

// The library the ProgID resolves to, or "(none)".
std::string ModuleOf(const Registry& registry, const std::string& progId) {
    const auto resolved = ResolveProgId(registry, progId);
    return resolved ? resolved->m_modulePath : "(none)";
}

std::set<std::string> ExpectedRegistration() {
    const std::string clsid = CLSID_OnlineView.ToString();
    const std::string appid = APPID_VelaFFOnlineUI.ToString();
    const std::string key = "CLSID\\" + clsid;
    const std::string module = kModule;
    return {
        "VelaFFDiagnosisUI.OnlineView.1|=OnlineView Class",
        "VelaFFDiagnosisUI.OnlineView.1\\CLSID|=" + clsid,
        "VelaFFDiagnosisUI.OnlineView|=OnlineView Class",
        "VelaFFDiagnosisUI.OnlineView\\CLSID|=" + clsid,
        "VelaFFDiagnosisUI.OnlineView\\CurVer|=VelaFFDiagnosisUI.OnlineView.1",
        key + "|=OnlineView Class",
        key + "|AppID=" + appid,
        key + "\\ProgID|=VelaFFDiagnosisUI.OnlineView.1",
        key + "\\VersionIndependentProgID|=VelaFFDiagnosisUI.OnlineView",
        key + "\\Programmable",
        key + "\\InprocServer32|=" + module,
        key + "\\InprocServer32|ThreadingModel=Apartment",
        key + "\\Control",
        key + "\\ToolboxBitmap32|=" + module + ",102",
        key + "\\MiscStatus|=0",
        key + "\\MiscStatus\\1|=131473",
        key + "\\TypeLib|=" + LIBID_VelaFFDiagnosisUILib.ToString(),
        key + "\\Version|=1.0",
        "AppID\\" + appid + "|=VelaFFOnlineUI",
        "AppID\\VelaFFDiagnosisUI.DLL|AppID=" + appid,
    };
}

TEST(ServerRegistrationTest, RegisterWritesTheTableAndUnregisterRemovesOnlyItsOwnEntries) {
    Registry registry("unused.xml");
    RegisterServer(registry, kOnlineViewServerIds, kModule);
    EXPECT_EQ(Listing(registry), ExpectedRegistration());

    // What an earlier registration left in the class entry goes; the rest is written again.
    const std::string key = "CLSID\\" + CLSID_OnlineView.ToString();
    registry.SetValue(key + "\\Stale", "", "left over");
    registry.SetValue(key + "\\InprocServer32", "", "/old/path.so");
    RegisterServer(registry, kOnlineViewServerIds, kModule);
    EXPECT_EQ(Listing(registry), ExpectedRegistration());

    UnregisterServer(registry, kOnlineViewServerIds);
    EXPECT_EQ(Listing(registry), (std::set<std::string>{"AppID", "CLSID"}));
    registry.SetValue(kOtherClass + "\\InprocServer32", "", "/other.so");
    registry.SetValue("AppID\\Other.DLL", "AppID", "{other}");
    const auto before = Listing(registry);
    RegisterServer(registry, kOnlineViewServerIds, kModule);
    UnregisterServer(registry, kOnlineViewServerIds);
    UnregisterServer(registry, kOnlineViewServerIds); // a second time finds nothing to remove
    EXPECT_EQ(Listing(registry), before);
}

TEST(ServerRegistrationTest, ResolveProgIdFollowsTheCurrentVersion) {
    Registry registry("unused.xml");
    RegisterServer(registry, kOnlineViewServerIds, kModule);
    for (const char* progId : {"VelaFFDiagnosisUI.OnlineView", "VelaFFDiagnosisUI.OnlineView.1",
                               "velaffdiagnosisui.onlineview"}) {
        const auto resolved = ResolveProgId(registry, progId);
        ASSERT_TRUE(resolved) << progId;
        EXPECT_EQ(resolved->m_clsid, CLSID_OnlineView) << progId;
        EXPECT_EQ(resolved->m_modulePath, kModule) << progId;
    }

    // A newer version registered as current: the version-independent ProgID resolves to it.
    registry.SetValue("VelaFFDiagnosisUI.OnlineView.2\\CLSID", "", kOtherClsid);
    registry.SetValue(kOtherClass + "\\InprocServer32", "", "/v2.so");
    registry.SetValue("VelaFFDiagnosisUI.OnlineView\\CurVer", "", "VelaFFDiagnosisUI.OnlineView.2");
    EXPECT_EQ(ModuleOf(registry, "VelaFFDiagnosisUI.OnlineView"), "/v2.so");
    EXPECT_EQ(ModuleOf(registry, "VelaFFDiagnosisUI.OnlineView.1"), kModule);

    // A current version that is not registered: the ProgID's own class.
    registry.SetValue("VelaFFDiagnosisUI.OnlineView\\CurVer", "", "VelaFFDiagnosisUI.OnlineView.3");
    EXPECT_EQ(ModuleOf(registry, "VelaFFDiagnosisUI.OnlineView"), kModule);
}

TEST(ServerRegistrationTest, ResolveProgIdAnswersNothingForAnIncompleteRegistration) {
    Registry registry("unused.xml");
    EXPECT_FALSE(ResolveProgId(registry, "VelaFFDiagnosisUI.OnlineView"));
    RegisterServer(registry, kOnlineViewServerIds, kModule);
    EXPECT_FALSE(ResolveProgId(registry, ""));
    EXPECT_FALSE(ResolveProgId(registry, "Other.Control"));
    EXPECT_FALSE(ResolveProgId(registry, "CLSID\\" + CLSID_OnlineView.ToString()));

    registry.SetValue("Broken.Control\\CLSID", "", "not a class id");
    EXPECT_FALSE(ResolveProgId(registry, "Broken.Control"));
    registry.DeleteTree("CLSID\\" + CLSID_OnlineView.ToString() + "\\InprocServer32");
    EXPECT_FALSE(ResolveProgId(registry, "VelaFFDiagnosisUI.OnlineView"));
    UnregisterServer(registry, kOnlineViewServerIds);
    EXPECT_FALSE(ResolveProgId(registry, "VelaFFDiagnosisUI.OnlineView.1"));
}

} // namespace
