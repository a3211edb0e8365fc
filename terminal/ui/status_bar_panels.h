// The twelve keyed panels of the main window's status bar. Each panel is a
// label that reports clicks with the mouse button that was pressed on it.
#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "status_panels.h"

class QStatusBar;

namespace dovrel {

// Mouse button as the panel handlers see it: 1 left, 2 right, 0 other.
int StatusButtonOf(Qt::MouseButton button);

// The fixed description of one panel: key, width in twips, tool tip.
struct PanelSpec {
    const char* key;
    int widthTwips;
    const char* toolTip;
};
// The panels in their order on the bar.
const std::vector<PanelSpec>& StatusPanelSpecs();

class StatusPanel : public QLabel {
    Q_OBJECT
  public:
    StatusPanel(const QString& key, QWidget* parent);
    const QString& Key() const { return m_key; }

  signals:
    // A press on the panel (button 1 left, 2 right).
    void Pressed(int button);
    // A press and release on the panel.
    void Clicked(const QString& key);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString m_key;
    bool m_down = false;
};

// Holds the panels side by side from the left, each at its own width; the
// "Text" panel takes the room the others leave, down to its minimum. Panels
// never overlap or shrink: what does not fit is cut off at the right edge.
class PanelStrip : public QWidget {
  public:
    explicit PanelStrip(QWidget* parent) : QWidget(parent) {}
    // The panels in order, with their widths in pixels (for "Text" its minimum).
    void Add(StatusPanel* panel, int width, bool fills);
    // Places the shown panels; called on resize and when one is shown or hidden.
    void Place();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Slot {
        StatusPanel* panel;
        int width;
        bool fills;
    };
    std::vector<Slot> m_slots;
};

class StatusBarPanels : public QObject, public StatusPanels {
    Q_OBJECT
  public:
    // Adds the panels to `bar`, sized by `dpi` logical dots per inch.
    StatusBarPanels(QStatusBar* bar, double dpi);

    // StatusPanels: the reception path's panel writes.
    void SetPanelText(PanelKey key, const std::string& text) override;

    // Null for an unknown key.
    StatusPanel* Panel(const QString& key) const;
    void SetText(const QString& key, const QString& text);
    QString Text(const QString& key) const;
    void SetToolTip(const QString& key, const QString& toolTip);
    void SetShown(const QString& key, bool shown);
    bool IsShown(const QString& key) const;
    // Width of a panel in twips (the "Text" panel's history length).
    int WidthTwips(const QString& key) const;

    // Button of the last press on any panel: 1 left, 2 right.
    int LastButton() const { return m_lastButton; }

  signals:
    void PanelClicked(const QString& key);

  private:
    std::vector<StatusPanel*> m_panels;
    PanelStrip* m_strip;
    double m_dpi;
    int m_lastButton = 1;
};

}  // namespace dovrel
