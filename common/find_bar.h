// The find bar of a text pane (the terminal's received text, the decoder
// window's reports): a field with "previous" and "next" buttons and a close
// button, hidden until Open(). Enter in the field finds the next match,
// Shift+Enter the previous one; the search goes round at either end of the
// text; Esc closes the bar and gives the keyboard back to the pane. A text
// found nowhere turns the field red. The match is the pane's selection.
#pragma once

#include <QWidget>

class QLineEdit;
class QTextEdit;

namespace nimbo {

class FindBar : public QWidget {
    Q_OBJECT
  public:
    // `pane` is not owned and must outlive the bar.
    explicit FindBar(QTextEdit* pane, QWidget* parent = nullptr);

    // Shows the bar with the keyboard in the field and its text selected.
    void Open();
    // Selects the next match of the field's text after the pane's cursor
    // (before it when `backward`), going round the text when needed; false,
    // and the field red, when the text is nowhere.
    bool FindNext(bool backward = false);
    QLineEdit* Field() const { return m_field; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowFound(bool found);

    QTextEdit* m_pane;
    QLineEdit* m_field;
};

}  // namespace nimbo
