// The terminal pane: a read-only rich-text widget on a black background that
// the reception path writes styled text into, and that reports the keys and
// mouse actions the main window acts on (pause, resume, copy, push).
#pragma once

#include <QTextEdit>

#include "pane.h"

namespace dovrel {

// 0xBBGGRR to a Qt colour.
QColor ColourOf(std::uint32_t bbggrr);

class TerminalPane : public QTextEdit, public Pane {
    Q_OBJECT
  public:
    explicit TerminalPane(QWidget* parent = nullptr);

    // Pane: text is 8-bit display text (Latin-1); "\n" breaks the line.
    void Append(std::string_view text, TextStyle style) override;
    std::size_t Length() const override;
    void Clear() override;

    // Font size in points of the pane's font.
    double FontSize() const;
    void SetFontSize(double points);
    // Moves the caret to the end of the pane and shows it.
    void CaretToEnd();
    // True while the left button is held for a selection.
    bool Selecting() const { return m_selecting; }

  signals:
    // Pause key or Ctrl+A.
    void PauseKey();
    // Esc (key down) or Ctrl+C (key up).
    void ResumeKey();
    // Any other key.
    void OtherKey();
    // A mouse selection ended; `text` is the selected text (may be empty).
    void SelectionMade(const QString& text);
    // The right button was pressed on the pane.
    void PushRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool m_selecting = false;
};

}  // namespace dovrel
