#pragma once

#include "com/ComObject.h"
#include "com/ComPtr.h"

#include <new>

class IClassFactory : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{00000001-0000-0000-C000-000000000046}");
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;
};

// The class factory of one object class T (a ComObject with a default constructor).
template <class T> class ClassFactory : public ComObject<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        try {
            ComPtr<T> instance = MakeCom<T>();
            return instance->QueryInterface(riid, object);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }

    HRESULT LockServer(bool lock) override {
        lock ? ++com::Module::Locks() : --com::Module::Locks();
        return S_OK;
    }
};
