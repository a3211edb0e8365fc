// Styled insertion at the end of the document without touching the user's
// caret, so a selection under way is not disturbed by arriving text.
#include "terminal_pane.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace dovrel {
namespace {

QFont PaneFont() {
    QFont font("Lucida Console");
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(8.25);
    return font;
}

bool IsCtrl(const QKeyEvent* event, int key) {
    return event->key() == key && (event->modifiers() & Qt::ControlModifier);
}

}  // namespace

QColor ColourOf(std::uint32_t bbggrr) {
    return QColor(bbggrr & 0xFF, (bbggrr >> 8) & 0xFF, (bbggrr >> 16) & 0xFF);
}

TerminalPane::TerminalPane(QWidget* parent) : QTextEdit(parent) {
    setObjectName("txtTerm");
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, ColourOf(kColourYellow));
    setPalette(pal);
    setFont(PaneFont());
}

void TerminalPane::Append(std::string_view text, TextStyle style) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(ColourOf(style.colour));
    format.setFontWeight(style.emphasis ? QFont::Bold : QFont::Normal);
    cursor.insertText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                      format);
    // A selection (by mouse, or a match of the find bar) keeps the view.
    if (!m_selecting && !textCursor().hasSelection()) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}

std::size_t TerminalPane::Length() const {
    const int count = document()->characterCount() - 1;  // the document's final paragraph mark
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void TerminalPane::Clear() { clear(); }

double TerminalPane::FontSize() const { return font().pointSizeF(); }

void TerminalPane::SetFontSize(double points) {
    if (points <= 0) return;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void TerminalPane::CaretToEnd() {
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

void TerminalPane::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Pause || IsCtrl(event, Qt::Key_A)) {
        emit PauseKey();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        emit ResumeKey();
        return;
    }
    if (IsCtrl(event, Qt::Key_C)) {
        QTextEdit::keyPressEvent(event);  // copy the selection as usual
        return;
    }
    QTextEdit::keyPressEvent(event);
    emit OtherKey();
}

void TerminalPane::keyReleaseEvent(QKeyEvent* event) {
    if (IsCtrl(event, Qt::Key_C) && !event->isAutoRepeat()) emit ResumeKey();
    QTextEdit::keyReleaseEvent(event);
}

void TerminalPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit PushRequested();
        return;
    }
    if (event->button() == Qt::LeftButton) m_selecting = true;
    QTextEdit::mousePressEvent(event);
}

void TerminalPane::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_selecting) return;
    m_selecting = false;
    emit SelectionMade(textCursor().selectedText().replace(QChar(0x2029), '\n'));
}

}  // namespace dovrel
