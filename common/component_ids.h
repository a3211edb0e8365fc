// Class, interface and library identifiers and programmatic names of the
// weather components. Identifiers are compared as text, case-insensitively.
#pragma once

#include <string_view>

namespace nimbo {

// Weather decoder (Nimbolib).
inline constexpr std::string_view kClsidWeatherDecoder = "{beba1960-28d4-11d1-a725-00a0c91ddb3c}";
inline constexpr std::string_view kLibidNimbolib = "{beba1961-28d4-11d1-a725-00a0c91ddb3c}";
inline constexpr std::string_view kIidIWeatherDecoder = "{beba1962-28d4-11d1-a725-00a0c91ddb3c}";
inline constexpr std::string_view kIidIWeatherDecoderEvents =
    "{beba1963-28d4-11d1-a725-00a0c91ddb3c}";
// The observation connection point and its event interface.
inline constexpr std::string_view kIidIWeatherObservationSource =
    "{beba1964-28d4-11d1-a725-00a0c91ddb3c}";
inline constexpr std::string_view kIidIWeatherObservationEvents =
    "{beba1965-28d4-11d1-a725-00a0c91ddb3c}";
// The failures of the decoder's log files.
inline constexpr std::string_view kIidIDecoderLogStatus = "{beba1966-28d4-11d1-a725-00a0c91ddb3c}";
inline constexpr std::string_view kProgIdWeatherDecoder = "Nimbolib.WeatherDecoder";
inline constexpr std::string_view kProgIdWeatherDecoderVersion = "Nimbolib.WeatherDecoder.1";
inline constexpr std::string_view kWeatherDecoderDescription = "Weather Decoder Class";

// Weather display control (Nimboview).
inline constexpr std::string_view kClsidWeatherDialog = "{BEBA1970-28D4-11D1-A725-00A0C91DDB3C}";
inline constexpr std::string_view kLibidNimboview = "{BEBA1971-28D4-11D1-A725-00A0C91DDB3C}";
inline constexpr std::string_view kIidIWeatherDialog = "{BEBA1972-28D4-11D1-A725-00A0C91DDB3C}";
// The control's event interface: what the user changed that the host keeps.
inline constexpr std::string_view kIidIWeatherDialogEvents =
    "{BEBA1973-28D4-11D1-A725-00A0C91DDB3C}";
inline constexpr std::string_view kProgIdWeatherDialog = "Nimboview.WeatherDialog";
inline constexpr std::string_view kProgIdWeatherDialogVersion = "Nimboview.WeatherDialog.1";
inline constexpr std::string_view kWeatherDialogDescription = "Weather Dialog Class";

// Name of the shared library that serves each class (without "lib" and ".so").
inline constexpr std::string_view kNimbolibModule = "Nimbolib";
inline constexpr std::string_view kNimboviewModule = "Nimboview";

// Exported entry point of every component library, see component_entry.h.
inline constexpr const char* kCreateObjectSymbol = "NimboCreateObject";

}  // namespace nimbo
