// Windows-1252 decoding for display: the shared conversion, as a QString.
#include "cp1252_text.h"

#include "cp1252.h"

namespace nimboview {

QString Cp1252ToUnicode(std::string_view text) {
    return QString::fromStdString(nimbo::Cp1252ToUtf8(text));
}

}  // namespace nimboview
