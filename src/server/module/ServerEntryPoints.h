#pragma once

// The entry points of the in-process server library libVelaFFDiagnosisUI.so, the only
// symbols it exports. A frame loads the library and looks them up by name.

#include "com/Guid.h"
#include "com/HResult.h"

extern "C" {
// The class factory (IClassFactory) of `clsid`, through interface `riid`; the caller owns the
// reference. CLASS_E_CLASSNOTAVAILABLE for any class but OnlineView.
HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object);
// S_OK when no object of the library lives and no server lock is held, else S_FALSE.
HRESULT DllCanUnloadNow();
// Writes the server's keys into the registry file (Registry::DefaultPath()), with this
// library's own path as in-process server.
HRESULT DllRegisterServer();
// Removes the server's keys from the registry file; the `CLSID` and `AppID` keys stay.
HRESULT DllUnregisterServer();
}

using DllGetClassObjectFunction = decltype(&DllGetClassObject);
using DllCanUnloadNowFunction = decltype(&DllCanUnloadNow);
using DllRegisterServerFunction = decltype(&DllRegisterServer);
using DllUnregisterServerFunction = decltype(&DllUnregisterServer);
