#include "ServerLoader.h"

#include "FrameError.h"

#include "com/ClassFactory.h"
#include "server/Registry.h"
#include "server/ServerRegistration.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace {

constexpr const char* kLibraryName = "libVelaFFDiagnosisUI.so";

std::string LoaderError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown reason";
}

} // namespace

CServerLibrary::CServerLibrary(const std::string& path) : m_path(path) {
    dlerror();
    // Local binding: the server's own copies of the layers it is built from stay its own.
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        std::string reason = LoaderError();
        // The loader's text starts with the path, which the message names already.
        if (reason.starts_with(path + ": ")) {
            reason.erase(0, path.size() + 2);
        }
        throw CFrameError(EFrameExit::LibraryNotLoaded,
                          "cannot load the server library " + path + ": " + reason);
    }
    try {
        m_getClassObject = reinterpret_cast<GetClassObjectFn>(Symbol("DllGetClassObject"));
        m_canUnloadNow = reinterpret_cast<CanUnloadNowFn>(Symbol("DllCanUnloadNow"));
        m_register = reinterpret_cast<RegisterFn>(Symbol("DllRegisterServer"));
        m_unregister = reinterpret_cast<RegisterFn>(Symbol("DllUnregisterServer"));
    } catch (...) {
        dlclose(m_handle);
        m_handle = nullptr;
        throw;
    }
}

CServerLibrary::~CServerLibrary() {
    Unload();
}

void* CServerLibrary::Symbol(const char* name) const {
    dlerror();
    void* symbol = dlsym(m_handle, name);
    if (symbol == nullptr) {
        throw CFrameError(EFrameExit::LibraryNotLoaded,
                          "the library " + m_path + " is not an in-process server: it lacks " +
                              name + " (" + LoaderError() + ")");
    }
    return symbol;
}

void CServerLibrary::Check() const {
    if (m_handle == nullptr) {
        throw CFrameError(EFrameExit::LibraryNotLoaded,
                          "the server library " + m_path + " is unloaded");
    }
}

HRESULT CServerLibrary::Register() const {
    Check();
    return m_register();
}

HRESULT CServerLibrary::Unregister() const {
    Check();
    return m_unregister();
}

ComPtr<IUnknown> CServerLibrary::CreateInstance(const CLSID& clsid, REFIID riid) const {
    Check();
    const auto fail = [&](const std::string& step, HRESULT hr) {
        return CFrameError(EFrameExit::ClassNotCreated, "the class " + clsid.ToString() + " of " +
                                                            m_path + " cannot be created: " + step +
                                                            " answered " + HResultText(hr));
    };
    ComPtr<IClassFactory> factory;
    HRESULT hr =
        m_getClassObject(clsid, IClassFactory::Iid, reinterpret_cast<void**>(factory.Put()));
    if (FAILED(hr) || !factory) {
        throw fail("DllGetClassObject", FAILED(hr) ? hr : E_POINTER);
    }
    ComPtr<IUnknown> object;
    hr = factory->CreateInstance(nullptr, riid, reinterpret_cast<void**>(object.Put()));
    if (FAILED(hr) || !object) {
        throw fail("CreateInstance", FAILED(hr) ? hr : E_POINTER);
    }
    return object;
}

bool CServerLibrary::CanUnloadNow() const {
    return m_handle == nullptr || m_canUnloadNow() == S_OK;
}

bool CServerLibrary::Unload() {
    if (!CanUnloadNow()) {
        return false;
    }
    if (m_handle != nullptr) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
    return true;
}

ResolvedServer ResolveServer(const std::string& registryPath, std::string_view progId) {
    const std::string subject = "the ProgID \"" + std::string(progId) + "\"";
    Registry registry(registryPath);
    try {
        registry.Load();
    } catch (const std::exception& error) {
        throw CFrameError(EFrameExit::NotRegistered,
                          subject + " cannot be resolved: " + error.what());
    }
    auto resolved = ResolveProgId(registry, progId);
    if (!resolved) {
        throw CFrameError(EFrameExit::NotRegistered,
                          subject + " is not registered in " + registryPath +
                              "; register the server with: fdt-frame --register");
    }
    return *resolved;
}

std::string DefaultLibraryPath() {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        candidates.push_back(program.parent_path().parent_path() / "lib" / kLibraryName);
        candidates.push_back(program.parent_path() / kLibraryName);
    }
#ifdef OV_FRAME_BUILD_LIBRARY_DIR
    candidates.push_back(fs::path(OV_FRAME_BUILD_LIBRARY_DIR) / kLibraryName);
#endif
    for (const auto& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) {
            return candidate.lexically_normal().string();
        }
    }
    return candidates.empty() ? kLibraryName : candidates.front().lexically_normal().string();
}
