// The decoder window's status bar: six panes at fixed right edges, with
// tooltips; a left click reports the pane under it.
#pragma once

#include <QWidget>
#include <array>

class QLabel;

namespace nimboview {

class StatusPanes : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPaneCount = 6;
    // Right edge of each pane, in pixels from the bar's left edge.
    static constexpr std::array<int, kPaneCount> kRightEdges = {105, 130, 195, 260, 320, 390};

    explicit StatusPanes(QWidget* parent = nullptr);

    // The first pane whose right edge is greater than x; -1 beyond the last.
    static int PaneAt(int x);

    // pane in 0..5; other numbers are ignored.
    void SetText(int pane, const QString& text);
    QString Text(int pane) const;
    QString ToolTip(int pane) const;

  signals:
    void PaneClicked(int pane);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::array<QLabel*, kPaneCount> m_panes{};
};

}  // namespace nimboview
