// What the decoder's events need from the decoder window; the window
// implements it, tests record it.
#pragma once

#include <QColor>
#include <QString>

namespace nimboview {

class DecoderView {
  public:
    virtual ~DecoderView() = default;
    // Append text to the text pane in the colour and weight given.
    virtual void Append(const QString& text, const QColor& colour, bool bold) = 0;
    // Text of status pane 0 ("Waiting ...", "Search ...", "Found AAXX Station" ...).
    virtual void SetStateText(const QString& text) = 0;
    virtual void SetResyncChecked(bool checked) = 0;
    // A report indicator was found: show the window if it is hidden, without
    // taking the focus; a maximised or minimised window stays as it is.
    virtual void ShowIfHidden() = 0;
    // The station list changed; title is the map's new title after a
    // position, empty after a temperature or pressure.
    virtual void StationsChanged(const QString& title) = 0;
};

}  // namespace nimboview
