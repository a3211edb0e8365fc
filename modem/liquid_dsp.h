// liquid-dsp for this library. liquid-dsp declares a global type named
// `modem`, which is also this library's namespace, so its header is read
// with that one name moved aside (none of its modem API is used here).
#pragma once

#include <complex>

#define modem liquid_modem_type
#include <liquid/liquid.h>
#undef modem
