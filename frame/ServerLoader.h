#pragma once

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/HResult.h"
#include "server/ServerRegistration.h"

#include <string>
#include <string_view>

// The in-process server as the frame sees it: a shared library exporting the four entry
// points of a COM-style server, loaded with dlopen. The library stays loaded while the
// server answers that it cannot be unloaded, so that no object outlives its code.
class CServerLibrary {
public:
    // Loads the library and looks up its entry points. Throws CFrameError
    // (EFrameExit::LibraryNotLoaded) naming the library and the loader's reason, or the entry
    // point it lacks.
    explicit CServerLibrary(const std::string& path);
    // Unloads the library when the server allows it; otherwise it stays loaded.
    ~CServerLibrary();
    CServerLibrary(const CServerLibrary&) = delete;
    CServerLibrary& operator=(const CServerLibrary&) = delete;

    const std::string& GetPath() const { return m_path; }
    bool IsLoaded() const { return m_handle != nullptr; }

    HRESULT Register() const;
    HRESULT Unregister() const;
    // Creates an object of `clsid` through the server's class factory and answers its
    // `riid` interface. Throws CFrameError (EFrameExit::ClassNotCreated) naming the class and
    // the failing step with its HRESULT.
    ComPtr<IUnknown> CreateInstance(const CLSID& clsid, REFIID riid) const;
    // What DllCanUnloadNow answers; true once the library is unloaded.
    bool CanUnloadNow() const;
    // Unloads the library when CanUnloadNow; answers whether it is unloaded now.
    bool Unload();

private:
    using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT (*)();
    using RegisterFn = HRESULT (*)();

    void* Symbol(const char* name) const;
    void Check() const;

    std::string m_path;
    void* m_handle = nullptr;
    GetClassObjectFn m_getClassObject = nullptr;
    CanUnloadNowFn m_canUnloadNow = nullptr;
    RegisterFn m_register = nullptr;
    RegisterFn m_unregister = nullptr;
};

// The library and class registered for `progId` in the registry file `registryPath`. Throws
// CFrameError (EFrameExit::NotRegistered) naming the ProgID and the file, with the command
// that registers it, when the file does not resolve it; a file that is not a registry throws
// the same with the reason.
ResolvedServer ResolveServer(const std::string& registryPath, std::string_view progId);

// The server library fdt-frame registers by default: libVelaFFDiagnosisUI.so in ../lib beside
// the program, else in the program's own folder, else in the lib folder of the build tree the
// program was built in. The first candidate when none exists.
std::string DefaultLibraryPath();
