// Status panels as labels in a status bar; the "Text" panel takes the room
// that is left.
#include "status_bar_panels.h"

#include <QMouseEvent>
#include <QStatusBar>

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

StatusBarPanels::StatusBarPanels(QStatusBar* bar, double dpi) : QObject(bar), m_dpi(dpi) {
    bar->setSizeGripEnabled(true);
    for (const auto& layout : StatusPanelSpecs()) {
        auto* panel = new StatusPanel(layout.key, bar);
        panel->setToolTip(layout.toolTip);
        const int width = TwipsToPixels(layout.widthTwips, dpi);
        const bool isText = panel->Key() == "Text";
        if (isText) {
            // The latest characters stay visible at the right; the text never
            // widens the window.
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            panel->setMinimumWidth(TwipsToPixels(847, dpi));
            panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            panel->setFixedWidth(width);
        }
        bar->addPermanentWidget(panel, isText ? 1 : 0);
        connect(panel, &StatusPanel::Pressed, this, [this](int button) {
            if (button != 0) m_lastButton = button;
        });
        connect(panel, &StatusPanel::Clicked, this, &StatusBarPanels::PanelClicked);
        m_panels.push_back(panel);
    }
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
