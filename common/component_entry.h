// The shared body of each component library's NimboCreateObject entry point:
// argument checks, class and interface matching, and no exception crossing
// the extern "C" boundary (a throwing constructor becomes a result code).
#pragma once

#include <initializer_list>
#include <new>
#include <string_view>

#include "result_codes.h"
#include "text_compare.h"

namespace nimbo {

// Serves `classNames` (class identifier and programmatic names, any case) with
// the one interface `interfaceIdOfObject`; `make` returns a new object as that
// interface. On success *object owns one reference; otherwise it is null.
template <typename Make>
HRESULT CreateComponentObject(const char* classId, const char* interfaceId, void** object,
                              std::initializer_list<std::string_view> classNames,
                              std::string_view interfaceIdOfObject, Make make) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (classId == nullptr || interfaceId == nullptr) return E_POINTER;
    bool served = false;
    for (std::string_view name : classNames) served = served || EqualsIgnoringCase(classId, name);
    if (!served) return CLASS_E_CLASSNOTAVAILABLE;
    if (!EqualsIgnoringCase(interfaceId, interfaceIdOfObject)) return E_NOINTERFACE;
    try {
        *object = make();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace nimbo
