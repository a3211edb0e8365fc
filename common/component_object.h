// Base of every interface that crosses a component boundary: reference
// counting, and the exported creation entry point each component library has.
#pragma once

#include <cstdint>
#include <utility>

#include "result_codes.h"

namespace nimbo {

// Objects handed out by a component library are reference counted. The
// creator receives one reference; Release of the last one destroys the object
// inside the library that made it. No member lets an exception escape.
class IComponentObject {
  public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

  protected:
    virtual ~IComponentObject() = default;
};

// Owning handle to a component interface: releases its reference when it
// goes out of scope.
template <class Interface>
class ComponentRef {
  public:
    ComponentRef() = default;
    // Takes over a reference the caller already holds.
    explicit ComponentRef(Interface* object) : m_object(object) {}
    ComponentRef(const ComponentRef& other) : m_object(other.m_object) {
        if (m_object != nullptr) m_object->AddRef();
    }
    ComponentRef(ComponentRef&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)) {}
    ComponentRef& operator=(ComponentRef other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~ComponentRef() { Reset(); }

    void Reset() {
        if (m_object != nullptr) std::exchange(m_object, nullptr)->Release();
    }
    Interface* Get() const { return m_object; }
    Interface* operator->() const { return m_object; }
    Interface& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

  private:
    Interface* m_object = nullptr;
};

}  // namespace nimbo

// Entry point every component library exports (symbol kCreateObjectSymbol).
// classId is a class identifier or a programmatic name; interfaceId the
// identifier of the wanted interface. On S_OK *object holds the interface with
// one reference; otherwise *object is null and the result says why
// (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE, E_POINTER, E_OUTOFMEMORY).
extern "C" {
using NimboCreateObjectFunction = nimbo::HRESULT (*)(const char* classId, const char* interfaceId,
                                                     void** object);
}
