// Status panels as labels in a status bar; the "Text" panel takes the room
// that is left.
#include "status_bar_panels.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QStatusBar>
#include <algorithm>

#include "window_geometry.h"

namespace dovrel {

int StatusButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return 1;
    if (button == Qt::RightButton) return 2;
    return 0;
}

const std::vector<PanelSpec>& StatusPanelSpecs() {
    static const std::vector<PanelSpec> kPanels = {
        {"Port", 1058, "Selected Serial Port"},
        {"Status", 2540, "Communication status"},
        {"Mode", 1143, "Set Transmission Mode"},
        {"Bauds", 741, "Set Baud Rate"},
        {"Parity", 423, "Set Parity"},
        {"Stops", 635, "Set Stop bits"},
        {"CrLf", 906, "Clear CR/LF processing option"},
        {"Uos", 847, "Set Unshift on Space processing"},
        {"Code", 1058, "Used alphabet"},
        {"Text", 3784, "Raw received text"},
        {"Print", 1058, "Raw printer status"},
        {"Time", 1376, "Elapsed from first connection OR macro being executed"},
    };
    return kPanels;
}

StatusPanel::StatusPanel(const QString& key, QWidget* parent) : QLabel(parent), m_key(key) {
    setObjectName(key);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
}

void StatusPanel::mousePressEvent(QMouseEvent* event) {
    m_down = true;
    emit Pressed(StatusButtonOf(event->button()));
    event->accept();
}

void StatusPanel::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDown = m_down;
    m_down = false;
    event->accept();
    if (wasDown && rect().contains(event->position().toPoint())) emit Clicked(m_key);
}

void PanelStrip::Add(StatusPanel* panel, int width, bool fills) {
    m_slots.push_back({panel, width, fills});
}

void PanelStrip::Place() {
    int others = 0;
    for (const Slot& slot : m_slots)
        if (!slot.panel->isHidden() && !slot.fills) others += slot.width;
    // Before the bar has laid the strip out, the panels still get their size.
    const int h = height() > 0 ? height() : sizeHint().height();
    int x = 0;
    for (const Slot& slot : m_slots) {
        if (slot.panel->isHidden()) continue;
        const int width = slot.fills ? std::max(slot.width, this->width() - others) : slot.width;
        slot.panel->setGeometry(x, 0, width, h);
        x += width;
    }
}

// An empty panel's own hint has no room for a line of text, and the strip's
// height is fixed from this hint: it must hold one line whatever is shown.
QSize PanelStrip::sizeHint() const {
    int height = 0;
    for (const Slot& slot : m_slots) {
        const int line = slot.panel->fontMetrics().height() + 2 * slot.panel->frameWidth() + 2;
        height = std::max({height, slot.panel->sizeHint().height(), line});
    }
    return QSize(0, height);
}

void PanelStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Place();
}

StatusBarPanels::StatusBarPanels(QStatusBar* bar, double dpi)
    : QObject(bar), m_strip(new PanelStrip(bar)), m_dpi(dpi) {
    bar->setSizeGripEnabled(true);
    // The strip takes the bar's width whatever the panels need, so the
    // window is never held wider by them.
    m_strip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    bar->addPermanentWidget(m_strip, 1);
    for (const auto& layout : StatusPanelSpecs()) {
        auto* panel = new StatusPanel(layout.key, m_strip);
        panel->setToolTip(layout.toolTip);
        const bool isText = panel->Key() == "Text";
        // The "Text" panel keeps the latest characters visible at its right.
        if (isText) panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_strip->Add(panel, TwipsToPixels(isText ? 847 : layout.widthTwips, dpi), isText);
        connect(panel, &StatusPanel::Pressed, this, [this](int button) {
            if (button != 0) m_lastButton = button;
        });
        connect(panel, &StatusPanel::Clicked, this, &StatusBarPanels::PanelClicked);
        m_panels.push_back(panel);
    }
    m_strip->Place();
}

void StatusBarPanels::SetPanelText(PanelKey panel, const std::string& text) {
    const std::string_view key = PanelName(panel);
    // Line breaks and other control characters of raw text show as blanks.
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : shown)
        if (c.unicode() < 32) c = ' ';
    SetText(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())), shown);
}

StatusPanel* StatusBarPanels::Panel(const QString& key) const {
    for (auto* panel : m_panels)
        if (panel->Key() == key) return panel;
    return nullptr;
}

void StatusBarPanels::SetText(const QString& key, const QString& text) {
    if (auto* panel = Panel(key)) panel->setText(text);
}

QString StatusBarPanels::Text(const QString& key) const {
    const auto* panel = Panel(key);
    return panel ? panel->text() : QString();
}

void StatusBarPanels::SetToolTip(const QString& key, const QString& toolTip) {
    if (auto* panel = Panel(key)) panel->setToolTip(toolTip);
}

void StatusBarPanels::SetShown(const QString& key, bool shown) {
    if (auto* panel = Panel(key)) panel->setVisible(shown);
    m_strip->Place();
}

bool StatusBarPanels::IsShown(const QString& key) const {
    const auto* panel = Panel(key);
    return panel && !panel->isHidden();
}

int StatusBarPanels::WidthTwips(const QString& key) const {
    const auto* panel = Panel(key);
    return panel ? PixelsToTwips(panel->width(), m_dpi) : 0;
}

}  // namespace dovrel
