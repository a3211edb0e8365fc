// Find bar: QTextEdit::find from the cursor, and once more from the other
// end of the text when that finds nothing.
#include "find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolButton>

namespace nimbo {
namespace {

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

FindBar::FindBar(QTextEdit* pane, QWidget* parent) : QWidget(parent), m_pane(pane) {
    setObjectName("FindBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    m_field = new QLineEdit(this);
    m_field->setObjectName("FindText");
    m_field->setPlaceholderText("Find in the text");
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    QToolButton* previous =
        Button(this, "FindPrevious", QStringLiteral("\u25B2"), "Previous match (Shift+Enter)");
    QToolButton* next = Button(this, "FindNext", QStringLiteral("\u25BC"), "Next match (Enter)");
    QToolButton* close = Button(this, "FindClose", QStringLiteral("\u2715"), "Close (Esc)");
    layout->addWidget(new QLabel("Find:", this));
    layout->addWidget(m_field, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(close);
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(false); });
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        m_pane->setFocus();
    });
    connect(m_field, &QLineEdit::textEdited, this, [this] { ShowFound(true); });
    hide();
}

void FindBar::Open() {
    show();
    m_field->setFocus();
    m_field->selectAll();
}

bool FindBar::FindNext(bool backward) {
    const QString text = m_field->text();
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_pane->find(text, flags);
    if (!found) {
        const QTextCursor kept = m_pane->textCursor();
        m_pane->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
        found = m_pane->find(text, flags);
        if (!found) m_pane->setTextCursor(kept);
    }
    ShowFound(found);
    return found;
}

void FindBar::ShowFound(bool found) {
    m_field->setStyleSheet(found ? QString() : "QLineEdit { background: #ffb0b0; }");
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FindNext((key->modifiers() & Qt::ShiftModifier) != 0);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            m_pane->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace nimbo
