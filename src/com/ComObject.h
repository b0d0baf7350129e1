#pragma once

#include "com/Unknown.h"

#include <atomic>
#include <tuple>

namespace com {

// Counts live objects and server locks of this module, for DllCanUnloadNow.
struct Module {
    static std::atomic<long>& Objects();
    static std::atomic<long>& Locks();
    static bool CanUnload() { return Objects() == 0 && Locks() == 0; }
};

namespace detail {

template <class I> constexpr bool Answers(REFIID riid) {
    if (riid == I::Iid) {
        return true;
    }
    if constexpr (requires { typename I::Base; }) {
        return Answers<typename I::Base>(riid);
    } else {
        return false;
    }
}

} // namespace detail

// Implements IUnknown for an object offering `Interfaces...`. Objects start with one
// reference, owned by whoever created them (see MakeCom), and delete themselves at the last
// Release. A query for IUnknown always answers the same pointer (through the first
// interface), whichever interface it is asked through.
template <class... Interfaces> class ComObject : public Interfaces... {
    static_assert(sizeof...(Interfaces) > 0, "a COM object offers at least one interface");
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;

public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = riid == IUnknown::Iid ? Identity() : Find<Interfaces...>(riid);
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    std::uint32_t AddRef() override { return ++m_refs; }

    std::uint32_t Release() override {
        const std::uint32_t left = --m_refs;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ComObject() { ++Module::Objects(); }
    ~ComObject() override { --Module::Objects(); }

    // The IUnknown of this object, for handing it to a peer.
    IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<Primary*>(this)); }

private:
    template <class I, class... Rest> void* Find(REFIID riid) {
        if (detail::Answers<I>(riid)) {
            return static_cast<I*>(this);
        }
        if constexpr (sizeof...(Rest) > 0) {
            return Find<Rest...>(riid);
        } else {
            return nullptr;
        }
    }

    std::atomic<std::uint32_t> m_refs{1};
};

} // namespace com

using com::ComObject;
