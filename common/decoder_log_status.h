// A further interface of the decoder object, reached through
// IWeatherDecoder::QueryInterface: what went wrong with its log files, so
// that a client can tell the user. Decoding never stops for a log.
#pragma once

#include <string>
#include <string_view>

#include "component_ids.h"
#include "component_object.h"
#include "result_codes.h"

namespace nimbo {

class IDecoderLogStatus : public IComponentObject {
  public:
    static constexpr std::string_view kIid = kIidIDecoderLogStatus;
    // The log failures since the last call, one line each ("Cannot write the
    // log file Data/x.wmo: No space left on device"), empty when there were
    // none; the call clears them. A failed open leaves that log closed; the
    // first failed write closes it with what it holds, so each opening of a
    // log is reported at most once. E_POINTER for a null `text`.
    virtual HRESULT TakeLogFailures(std::string* text) = 0;
};

}  // namespace nimbo
