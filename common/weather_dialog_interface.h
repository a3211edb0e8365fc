// The weather display control's component interface IWeatherDialog: what a
// host program calls to make the decoder window, feed it received text and
// set the decoder's modes and logs.
#pragma once

#include <cstdint>
#include <string>

#include "component_ids.h"
#include "component_object.h"
#include "result_codes.h"

namespace nimbo {

// Member numbers of IWeatherDialog, kept for clients that dispatch by number.
enum class WeatherDialogDispId : std::int32_t {
    kCreate = 1,
    kDestroy = 2,
    kShow = 3,
    kCaption = 4,
    kBackColor = 5,
    kTop = 6,
    kLeft = 7,
    kWidth = 8,
    kHeight = 9,
    kFontSize = 10,
    kFont = 11,
    kParse = 20,
    kMessageLock = 21,
    kDecoderLock = 22,
    kDecoderRelax = 23,
    kDecoderResyn = 24,
    kDecoderQuiet = 25,
    kLogPathName = 26,
    kLogFileName = 27,
    kNodeName = 28,
    kLogStart = 29,
    kArchiveFile = 30,
    kFontZoom = 31,
};

// Event numbers of _IWeatherDialogEvents.
enum class WeatherDialogEventDispId : std::int32_t {
    kFontZoomChanged = 1,
};

// A colour as 0x00BBGGRR (red in the low byte).
using OleColor = std::uint32_t;

// Event sink of the display control: what the user changed in the control's
// windows that the host keeps for the next start. The control calls it
// synchronously on the host's thread, every connected sink in turn; an
// exception thrown by a sink is swallowed.
class _IWeatherDialogEvents {
  public:
    static constexpr std::string_view kIid = kIidIWeatherDialogEvents;
    virtual ~_IWeatherDialogEvents() = default;
    // The user zoomed the decoder window's text (Ctrl+plus, Ctrl+minus,
    // Ctrl+0); zoom is the new value of FontZoom. Not raised by a put.
    virtual void FontZoomChanged(std::int32_t zoom) = 0;
};

// The display control. Every member returns a result code and lets no
// exception escape; a null out-pointer gives E_POINTER. All calls must come
// from the thread that runs the host's Qt application, which must exist
// before Create and must still exist at Destroy (or at the last Release).
//
// "Window needed": Show put, Parse and the members from MessageLock to
// LogStart return S_FALSE without effect before Create (and after Destroy).
// "Decoder needed": when the decoding library could not be created, Parse and
// the members from MessageLock to LogStart return S_FALSE without effect,
// except that the mode puts still rewrite their status pane.
//
// Texts: Caption and Font are UTF-8; LogPathName, LogFileName and NodeName are
// file-system names handed to the decoder unchanged. Parse takes the received
// text as zero-terminated Windows-1252 bytes.
class IWeatherDialog : public IComponentObject {
  public:
    static constexpr std::string_view kIid = kIidIWeatherDialog;

    // Makes the decoder window (hidden) and the decoder on the first call;
    // shows the window when show is non-zero. *status = 1 when the decoder
    // exists, 0 when it is missing. S_OK when the window exists, S_FALSE when
    // it could not be made (no Qt application, or after Destroy).
    virtual HRESULT Create(std::int32_t show, std::int32_t* status) = 0;
    // Stops the decoder's logging, disconnects from its events and destroys
    // the window and the map; info is ignored. S_OK.
    virtual HRESULT Destroy(std::int32_t info) = 0;

    virtual HRESULT get_Show(std::int32_t* value) = 0;
    // Window needed. Non-zero shows the window, zero hides it.
    virtual HRESULT put_Show(std::int32_t value) = 0;
    virtual HRESULT get_Caption(std::string* value) = 0;
    virtual HRESULT put_Caption(const std::string& value) = 0;
    // Background of the text pane.
    virtual HRESULT get_BackColor(OleColor* value) = 0;
    virtual HRESULT put_BackColor(OleColor value) = 0;
    // Window geometry in twips (1440 per inch) at the window's screen DPI.
    virtual HRESULT get_Top(std::int32_t* value) = 0;
    virtual HRESULT put_Top(std::int32_t value) = 0;
    virtual HRESULT get_Left(std::int32_t* value) = 0;
    virtual HRESULT put_Left(std::int32_t value) = 0;
    virtual HRESULT get_Width(std::int32_t* value) = 0;
    virtual HRESULT put_Width(std::int32_t value) = 0;
    virtual HRESULT get_Height(std::int32_t* value) = 0;
    virtual HRESULT put_Height(std::int32_t value) = 0;
    // Text pane font size in points and face name (at most 31 characters).
    virtual HRESULT get_FontSize(std::int32_t* value) = 0;
    virtual HRESULT put_FontSize(std::int32_t value) = 0;
    virtual HRESULT get_Font(std::string* value) = 0;
    virtual HRESULT put_Font(const std::string& value) = 0;

    // Window and decoder needed. Hands the text to the decoder, or holds it
    // while the window is paused (bursts of at most 1024 characters; a longer
    // single chunk is handed on at once after the held text).
    virtual HRESULT Parse(const char* data) = 0;

    // Decoder modes, forwarded to the decoder; each put first rewrites its
    // status pane.
    virtual HRESULT get_MessageLock(std::int32_t* value) = 0;
    virtual HRESULT put_MessageLock(std::int32_t value) = 0;
    virtual HRESULT get_DecoderLock(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderLock(std::int32_t value) = 0;
    virtual HRESULT get_DecoderRelax(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderRelax(std::int32_t value) = 0;
    virtual HRESULT get_DecoderResyn(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderResyn(std::int32_t value) = 0;
    virtual HRESULT get_DecoderQuiet(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderQuiet(std::int32_t value) = 0;

    // Decoder log folder and base name, forwarded; puts keep a copy.
    virtual HRESULT get_LogPathName(std::string* value) = 0;
    virtual HRESULT put_LogPathName(const std::string& value) = 0;
    virtual HRESULT get_LogFileName(std::string* value) = 0;
    virtual HRESULT put_LogFileName(const std::string& value) = 0;
    // Put forwards the name and re-puts the log file name so that the
    // decoder forms its log names with it; returns the decoder's result.
    virtual HRESULT get_NodeName(std::string* value) = 0;
    virtual HRESULT put_NodeName(const std::string& value) = 0;
    // Get answers the decoder's LogRaw. Put opens (non-zero) or closes both
    // decoder logs; when opening fails both are closed again and the first
    // failing result (E_ACCESSDENIED) is returned.
    virtual HRESULT get_LogStart(std::int32_t* value) = 0;
    virtual HRESULT put_LogStart(std::int32_t value) = 0;

    // The observation archive (an SQLite file, made when missing): every
    // report the decoder decodes is stored there, committed after each
    // Parse; the history window reads it. Put needs the window; an empty
    // name stops storing; E_FAIL when the file cannot be opened (a warning
    // box says why, nothing is stored). A failure to store later is told
    // once in a box and the reports are tried again after the next Parse.
    virtual HRESULT get_ArchiveFile(std::string* value) = 0;
    virtual HRESULT put_ArchiveFile(const std::string& value) = 0;

    // The text pane's font zoom in points added to FontSize; a put is fitted
    // so that the sum stays within 4 and 48 points, and get answers the zoom
    // in effect. The window's zoom keys change it and raise FontZoomChanged.
    virtual HRESULT get_FontZoom(std::int32_t* value) = 0;
    virtual HRESULT put_FontZoom(std::int32_t value) = 0;

    // Connection point for _IWeatherDialogEvents. The sink is not owned; it
    // must stay alive until Unadvise or until the control is destroyed.
    // *cookie receives a non-zero number that identifies the connection;
    // E_POINTER for a null argument.
    virtual HRESULT Advise(_IWeatherDialogEvents* sink, std::uint32_t* cookie) = 0;
    // CONNECT_E_NOCONNECTION when the cookie names no connection.
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

}  // namespace nimbo
