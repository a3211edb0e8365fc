// The station map window: the world map picture with a red marker for every
// station in the list, the newest highlighted and labelled, and the label of
// the station under the mouse.
#pragma once

#include <QImage>
#include <QWidget>

#include "station_list.h"

namespace nimboview {

class StationMapWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMapWidth = 600;
    static constexpr int kMapHeight = 300;

    // The list is not owned and must outlive the window; owner is the
    // decoder window. Moves to the list's recorded position when it has one.
    StationMapWindow(StationList& stations, QWidget* owner);

    // The world map picture (600x300), null when it could not be loaded.
    static QImage MapPicture();

    // Repaint after a list change; a non-empty title replaces the caption.
    void StationsChanged(const QString& title);

  signals:
    // A click on the marker of a station whose report named it.
    void StationClicked(const QString& station);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void PaintStations(QPainter& painter);
    void PaintLabel(QPainter& painter, const StationRecord& record, const std::string& label,
                    const QColor& colour);

    StationList& m_stations;
    QImage m_picture;
};

}  // namespace nimboview
