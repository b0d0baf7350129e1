// The built libVelaFFDiagnosisUI.so, loaded the way a frame loads it.

#include "TestPaths.h"
#include "server/module/ServerEntryPoints.h"

#include "com/ClassFactory.h"
#include "server/ControlWidget.h"
#include "server/Registry.h"
#include "server/ServerRegistration.h"
#include "server/ServerTestSupport.h"

#include <QWidget>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using ::testing::_;

namespace fs = std::filesystem;

namespace {

class ServerLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Loaded once and never unloaded: Qt keeps the library's resources and classes.
        s_library = dlopen(OV_SERVER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    }

    void SetUp() override { ASSERT_NE(s_library, nullptr) << dlerror(); }

    template <class Function> static Function Entry(const char* name) {
        return reinterpret_cast<Function>(dlsym(s_library, name));
    }

    // The control created through the library's class factory, as `I`.
    template <class I> ComPtr<I> Create(ComPtr<IClassFactory>& factory) {
        const auto getClassObject = Entry<DllGetClassObjectFunction>("DllGetClassObject");
        EXPECT_EQ(getClassObject(CLSID_OnlineView, IClassFactory::Iid,
                                 reinterpret_cast<void**>(factory.Put())),
                  S_OK);
        ComPtr<I> control;
        EXPECT_EQ(factory->CreateInstance(nullptr, I::Iid, reinterpret_cast<void**>(control.Put())),
                  S_OK);
        return control;
    }

    HRESULT CanUnloadNow() { return Entry<DllCanUnloadNowFunction>("DllCanUnloadNow")(); }

    static inline void* s_library = nullptr;
};

TEST_F(ServerLibraryTest, ExportsItsFourEntryPointsOnly) {
    for (const char* name :
         {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}) {
        EXPECT_NE(dlsym(s_library, name), nullptr) << name;
    }
    // com::Module::Objects(), linked in but private to the library.
    EXPECT_EQ(dlsym(s_library, "_ZN3com6Module7ObjectsEv"), nullptr);

    const auto getClassObject = Entry<DllGetClassObjectFunction>("DllGetClassObject");
    void* object = &object;
    EXPECT_EQ(getClassObject(IID_IOnlineView, IClassFactory::Iid, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ServerLibraryTest, CanUnloadOnlyWhenNoControlOrFactoryIsLeft) {
    ASSERT_EQ(CanUnloadNow(), S_OK);
    ComPtr<IClassFactory> factory;
    auto control = Create<IDtmActiveXControl>(factory);
    ASSERT_TRUE(control);
    factory = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_FALSE);

    // The control works: it validates the call with its own schema and registers with the DTM.
    auto dtm = MakeCom<CFakeDtm>();
    EXPECT_CALL(dtm->calls, RegisterUI("IDtmUIRegistration", _, "frame-1", control.Get()));
    auto widget = control.As<IControlWidget>();
    widget->GetWidget()->show();
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(control->Init("frame-1", kFunctionCall, dtm->Unknown(), &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    EXPECT_EQ(control->PrepareToRelease(&result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    widget->ReleaseWidget();
    widget = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    control = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST_F(ServerLibraryTest, RegistersItselfInTheRegistryFileAndUnregistersAgain) {
    const fs::path directory =
        fs::temp_directory_path() / ("ov-server-" + std::to_string(getpid()));
    fs::create_directories(directory);
    const std::string file = (directory / "registry.xml").string();
    ASSERT_EQ(setenv("FDT_REGISTRY_FILE", file.c_str(), 1), 0);

    ASSERT_EQ(Entry<DllRegisterServerFunction>("DllRegisterServer")(), S_OK);
    Registry registry(file);
    registry.Load();
    const auto resolved = ResolveProgId(registry, kOnlineViewVersionIndependentProgId);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->m_clsid, CLSID_OnlineView);
    EXPECT_TRUE(fs::path(resolved->m_modulePath).is_absolute());
    EXPECT_TRUE(fs::equivalent(resolved->m_modulePath, OV_SERVER_LIBRARY));

    ASSERT_EQ(Entry<DllUnregisterServerFunction>("DllUnregisterServer")(), S_OK);
    Registry after(file);
    after.Load();
    EXPECT_FALSE(ResolveProgId(after, kOnlineViewVersionIndependentProgId));
    EXPECT_FALSE(after.KeyExists("CLSID\\" + CLSID_OnlineView.ToString()));
    EXPECT_TRUE(after.KeyExists("AppID"));

    unsetenv("FDT_REGISTRY_FILE");
    fs::remove_all(directory);
}

} // namespace
