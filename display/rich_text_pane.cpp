// Rich-text pane on QTextEdit; the text length is the document's character
// count without its final paragraph mark.
#include "rich_text_pane.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <cstdint>

namespace nimboview {
namespace {

const QColor kClearedColour(184, 115, 51);
const QColor kDefaultText(255, 255, 0);

}  // namespace

RichTextPane::RichTextPane(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    SetBackground(Qt::black);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, kDefaultText);
    setPalette(colours);
    SetDefaultFont(QStringLiteral("Lucida Console"), 8);
}

int RichTextPane::TextLength() const { return document()->characterCount() - 1; }

bool RichTextPane::Following() const {
    const QScrollBar* bar = verticalScrollBar();
    return bar->value() >= bar->maximum() && !textCursor().hasSelection();
}

bool RichTextPane::Append(const QString& text, const QColor& colour, bool bold) {
    bool cleared = false;
    // Read before the text grows: a pane shown at its end follows new text,
    // one the user scrolled up in, or holds a selection in, stays where it is.
    const bool follow = Following();
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();
    if (TextLength() >= kTextLimit) {
        document()->clear();
        Insert(QString::fromLatin1(kClearedText), kClearedColour, false);
        cleared = true;
    }
    Insert(text, colour, bold);
    // After a clear the text the user looked at is gone: follow again.
    if (follow || cleared) {
        ShowEnd();
    } else {
        // A selection that reached the end would grow with the new text.
        QTextCursor user(document());
        user.setPosition(anchor);
        user.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(user);
        horizontalScrollBar()->setValue(left);
        verticalScrollBar()->setValue(top);
    }
    return cleared;
}

void RichTextPane::ShowEnd() {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    setTextCursor(end);
    ensureCursorVisible();
    // The whole way down, bottom margin included, so the next append still
    // finds the view at the end.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void RichTextPane::Insert(const QString& text, const QColor& colour, bool bold) {
    // A cursor of its own: the user's cursor and selection stay as they are.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.insertText(text, format);
}

void RichTextPane::SetBackground(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

void RichTextPane::SetDefaultFont(const QString& family, int points) {
    m_family = family;
    m_points = points > 0 ? points : 8;
    ApplyFont();
}

void RichTextPane::Zoom(int step) { SetZoom(step == 0 ? 0 : m_zoom + step); }

void RichTextPane::SetZoom(int zoom) {
    // The text grows or shrinks under the view: a view at the end stays
    // there and goes on following new text.
    const bool follow = Following();
    m_zoom = FittedZoom(m_points, zoom);
    ApplyFont();
    if (follow) ShowEnd();
}

int RichTextPane::FittedZoom(int points, int zoom) {
    const std::int64_t size = points > 0 ? points : 8;
    // A default font beyond the limits stays as it is unzoomed; in 64 bits,
    // so that a zoom put near the 32-bit limit does not wrap.
    const std::int64_t low = std::min<std::int64_t>(size, kSmallestPoints);
    const std::int64_t high = std::max<std::int64_t>(size, kLargestPoints);
    return static_cast<int>(std::clamp(size + zoom, low, high) - size);
}

void RichTextPane::ApplyFont() {
    QFont font(m_family);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, m_points + m_zoom));
    document()->setDefaultFont(font);
}

void RichTextPane::CopyAll() {
    selectAll();
    copy();
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
}

void RichTextPane::ClearAll() { document()->clear(); }

}  // namespace nimboview
