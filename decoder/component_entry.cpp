// The library's exported creation entry point: serves the WeatherDecoder
// class by class identifier or programmatic name.
#include <algorithm>
#include <cctype>
#include <new>
#include <string_view>

#include "component_ids.h"
#include "weather_decoder.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool ServesClass(std::string_view classId) {
  return SameText(classId, nimbo::kClsidWeatherDecoder) ||
         SameText(classId, nimbo::kProgIdWeatherDecoder) ||
         SameText(classId, nimbo::kProgIdWeatherDecoderVersion);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) nimbo::HRESULT NimboCreateObject(
    const char* classId, const char* interfaceId, void** object) {
  if (object == nullptr) return nimbo::E_POINTER;
  *object = nullptr;
  if (classId == nullptr || interfaceId == nullptr) return nimbo::E_POINTER;
  if (!ServesClass(classId)) return nimbo::CLASS_E_CLASSNOTAVAILABLE;
  if (!SameText(interfaceId, nimbo::kIidIWeatherDecoder)) return nimbo::E_NOINTERFACE;
  try {
    *object = static_cast<nimbo::IWeatherDecoder*>(new nimbo::WeatherDecoder());
    return nimbo::S_OK;
  } catch (const std::bad_alloc&) {
    return nimbo::E_OUTOFMEMORY;
  } catch (...) {
    return nimbo::E_FAIL;
  }
}
