// Result code texts, worded as the component runtime words them.
#include "result_text.h"

#include <array>
#include <cstdio>

namespace nimboview {
namespace {

struct ResultEntry {
    nimbo::HRESULT result;
    const char* text;
};

constexpr std::array<ResultEntry, 9> kResultTexts = {{
    {nimbo::S_OK, "The operation completed successfully."},
    {nimbo::E_NOTIMPL, "Not implemented"},
    {nimbo::E_NOINTERFACE, "No such interface supported"},
    {nimbo::E_POINTER, "Invalid pointer"},
    {nimbo::E_FAIL, "Unspecified error"},
    {nimbo::E_ACCESSDENIED, "Access is denied."},
    {nimbo::E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {nimbo::E_INVALIDARG, "The parameter is incorrect."},
    {nimbo::CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
}};

}  // namespace

std::string ResultText(nimbo::HRESULT result) {
    for (const auto& entry : kResultTexts) {
        if (entry.result == result) return entry.text;
    }
    char text[32];
    std::snprintf(text, sizeof text, "Error 0x%08X", static_cast<unsigned>(result));
    return text;
}

}  // namespace nimboview
