// The library's creation entry point: the component loader calls it to make
// a WeatherDialog by class identifier or programmatic name.
#include <algorithm>
#include <cctype>
#include <new>
#include <string_view>

#include "component_ids.h"
#include "component_object.h"
#include "weather_dialog.h"
#include "weather_dialog_interface.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsWeatherDialogClass(std::string_view classId) {
    return SameText(classId, nimbo::kClsidWeatherDialog) ||
           SameText(classId, nimbo::kProgIdWeatherDialog) ||
           SameText(classId, nimbo::kProgIdWeatherDialogVersion);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) nimbo::HRESULT NimboCreateObject(
    const char* classId, const char* interfaceId, void** object) {
    if (object == nullptr) return nimbo::E_POINTER;
    *object = nullptr;
    if (classId == nullptr || interfaceId == nullptr) return nimbo::E_POINTER;
    if (!IsWeatherDialogClass(classId)) return nimbo::CLASS_E_CLASSNOTAVAILABLE;
    if (!SameText(interfaceId, nimbo::kIidIWeatherDialog)) return nimbo::E_NOINTERFACE;
    auto* dialog = new (std::nothrow) nimboview::WeatherDialog();
    if (dialog == nullptr) return nimbo::E_OUTOFMEMORY;
    *object = static_cast<nimbo::IWeatherDialog*>(dialog);
    return nimbo::S_OK;
}
