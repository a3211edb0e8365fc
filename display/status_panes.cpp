// Status panes as framed labels placed by hand, so that a click's x position
// maps to the same pane whatever the style's margins.
#include "status_panes.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>

namespace nimboview {
namespace {

enum class PaneBorder { kNormal, kNone, kRaised };

struct PaneSpec {
    PaneBorder border;
    const char* toolTip;
};

// Border and tooltip of each pane.
constexpr std::array<PaneSpec, StatusPanes::kPaneCount> kPaneSpecs = {{
    {PaneBorder::kNormal, "Status"},
    {PaneBorder::kNone, ""},
    {PaneBorder::kRaised, "Message mode: lock/unlock  (Lock:  ZCZC must start a line)"},
    {PaneBorder::kRaised, "Decoder mode: lock/unlock  (Lock:  start only after Indicator)"},
    {PaneBorder::kRaised, "Decoder mode: strict/relax (Relax: dont skip after error)"},
    {PaneBorder::kRaised, "Decoder mode: quiet/verbose"},
}};

int FrameStyle(PaneBorder border) {
    switch (border) {
        case PaneBorder::kNormal:
            return QFrame::Panel | QFrame::Sunken;
        case PaneBorder::kNone:
            return QFrame::NoFrame;
        case PaneBorder::kRaised:
            return QFrame::Panel | QFrame::Raised;
    }
    return QFrame::NoFrame;
}

}  // namespace

StatusPanes::StatusPanes(QWidget* parent) : QWidget(parent) {
    // The mode texts are fourteen characters wide; a small font keeps them
    // inside their 60-pixel panes.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    const int height = fontMetrics().height() + 8;
    setFixedHeight(height);
    int left = 0;
    for (int i = 0; i < kPaneCount; ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(FrameStyle(kPaneSpecs[i].border));
        label->setToolTip(QString::fromLatin1(kPaneSpecs[i].toolTip));
        label->setContentsMargins(1, 0, 0, 0);
        label->setGeometry(left, 1, kRightEdges[i] - left - 2, height - 2);
        left = kRightEdges[i];
        m_panes[i] = label;
    }
}

int StatusPanes::PaneAt(int x) {
    for (int i = 0; i < kPaneCount; ++i) {
        if (kRightEdges[i] > x) return i;
    }
    return -1;
}

void StatusPanes::SetText(int pane, const QString& text) {
    if (pane < 0 || pane >= kPaneCount) return;
    m_panes[pane]->setText(text);
}

QString StatusPanes::Text(int pane) const {
    if (pane < 0 || pane >= kPaneCount) return {};
    return m_panes[pane]->text();
}

QString StatusPanes::ToolTip(int pane) const {
    if (pane < 0 || pane >= kPaneCount) return {};
    return m_panes[pane]->toolTip();
}

void StatusPanes::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int pane = PaneAt(static_cast<int>(event->position().x()));
    if (pane >= 0) emit PaneClicked(pane);
}

}  // namespace nimboview
