#pragma once

#include "com/Unknown.h"

#include <cstddef>
#include <utility>

// A counted reference to a COM-style interface. Constructing from a raw pointer shares it
// (adds a reference); Owned() and Attach() adopt a reference the caller already holds.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p) {
            m_p->AddRef();
        }
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U>
    requires std::is_convertible_v<U*, T*> ComPtr(const ComPtr<U>& other)
        : ComPtr(static_cast<T*>(other.Get())) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    // Adopts a reference the caller holds (no AddRef).
    static ComPtr Owned(T* p) {
        ComPtr result;
        result.m_p = p;
        return result;
    }
    void Attach(T* p) {
        Reset();
        m_p = p;
    }
    // Gives up the reference without releasing it.
    [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr)) {
            p->Release();
        }
    }
    void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: releases what is held and answers the slot to fill.
    T** Put() {
        Reset();
        return &m_p;
    }

    // The same object through another interface; null when the object does not offer it.
    template <class U> ComPtr<U> As() const {
        ComPtr<U> result;
        if (m_p) {
            m_p->QueryInterface(U::Iid, reinterpret_cast<void**>(result.Put()));
        }
        return result;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

private:
    T* m_p = nullptr;
};

// Creates a COM object and hands its first reference to the returned pointer.
template <class T, class... Args> ComPtr<T> MakeCom(Args&&... args) {
    return ComPtr<T>::Owned(new T(std::forward<Args>(args)...));
}
