#include "server/module/ServerEntryPoints.h"

#include "com/ClassFactory.h"
#include "server/OnlineView.h"
#include "server/Registry.h"
#include "server/ServerRegistration.h"
#include "ui/Scheduler.h"

#include <dlfcn.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace {

// The path of this library as the loader found it, made absolute.
std::string ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&DllRegisterServer), &info) == 0 ||
        info.dli_fname == nullptr) {
        throw std::runtime_error("the server library does not know its own path");
    }
    return std::filesystem::absolute(info.dli_fname).lexically_normal().string();
}

// Loads the registry file, lets `change` edit it and saves it.
HRESULT ChangeRegistry(const std::function<void(Registry&)>& change) noexcept {
    try {
        Registry registry(Registry::DefaultPath());
        registry.Load();
        change(registry);
        registry.Save();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace

extern "C" {

HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_OnlineView) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    try {
        return MakeCom<ClassFactory<COnlineView>>()->QueryInterface(riid, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT DllCanUnloadNow() {
    if (!com::Module::CanUnload()) {
        return S_FALSE;
    }
    // No object of the server lives: its timers go before its code does.
    ReleaseDefaultScheduler();
    return S_OK;
}

HRESULT DllRegisterServer() {
    return ChangeRegistry(
        [](Registry& registry) { RegisterServer(registry, kOnlineViewServerIds, ModulePath()); });
}

HRESULT DllUnregisterServer() {
    return ChangeRegistry(
        [](Registry& registry) { UnregisterServer(registry, kOnlineViewServerIds); });
}

} // extern "C"
