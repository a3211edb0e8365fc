// The library's exported creation entry point: serves the WeatherDecoder
// class by class identifier or programmatic name.
#include "component_entry.h"

#include "component_ids.h"
#include "weather_decoder.h"

extern "C" __attribute__((visibility("default"))) nimbo::HRESULT NimboCreateObject(
    const char* classId, const char* interfaceId, void** object) {
    return nimbo::CreateComponentObject(
        classId, interfaceId, object,
        {nimbo::kClsidWeatherDecoder, nimbo::kProgIdWeatherDecoder,
         nimbo::kProgIdWeatherDecoderVersion},
        nimbo::kIidIWeatherDecoder, [] {
            return static_cast<void*>(
                static_cast<nimbo::IWeatherDecoder*>(new nimbo::WeatherDecoder()));
        });
}
