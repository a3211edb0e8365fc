// Rich-text pane on QTextEdit; the text length is the document's character
// count without its final paragraph mark.
#include "rich_text_pane.h"

#include <QPalette>
#include <QTextCursor>

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

bool RichTextPane::Append(const QString& text, const QColor& colour, bool bold) {
    bool cleared = false;
    if (TextLength() >= kTextLimit) {
        document()->clear();
        Insert(QString::fromLatin1(kClearedText), kClearedColour, false);
        cleared = true;
    }
    Insert(text, colour, bold);
    return cleared;
}

void RichTextPane::Insert(const QString& text, const QColor& colour, bool bold) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.insertText(text, format);
    // Keep the newest text in view.
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextPane::SetBackground(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

void RichTextPane::SetDefaultFont(const QString& family, int points) {
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(points > 0 ? points : 8);
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
