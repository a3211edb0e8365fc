// The library's creation entry point: the component loader calls it to make
// a WeatherDialog by class identifier or programmatic name.
#include "component_entry.h"

#include "component_ids.h"
#include "weather_dialog.h"
#include "weather_dialog_interface.h"

extern "C" __attribute__((visibility("default"))) nimbo::HRESULT NimboCreateObject(
    const char* classId, const char* interfaceId, void** object) {
    return nimbo::CreateComponentObject(
        classId, interfaceId, object,
        {nimbo::kClsidWeatherDialog, nimbo::kProgIdWeatherDialog,
         nimbo::kProgIdWeatherDialogVersion},
        nimbo::kIidIWeatherDialog, [] {
            return static_cast<void*>(
                static_cast<nimbo::IWeatherDialog*>(new nimboview::WeatherDialog()));
        });
}
