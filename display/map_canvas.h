// The drawing area of the station map: the world map at the start view of
// the 600x300 picture, zoomed with the wheel or the keys (+, -), moved by
// dragging or with the arrow keys, "fit to stations" (F) and back to the start
// view (0). It draws the station markers, and the station models once the
// zoom leaves room for them, and tells which station the mouse is on.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "map_painter.h"
#include "map_view.h"
#include "station_list.h"
#include "station_models.h"

class QToolButton;

namespace nimboview {

class MapCanvas : public QWidget {
    Q_OBJECT

  public:
    // From this zoom on the models are drawn instead of plain markers.
    static constexpr double kModelZoom = 3;
    static constexpr double kWheelStep = 1.25;

    // Neither list is owned; both must outlive the canvas. models may be
    // null (markers only).
    MapCanvas(StationList& stations, const synoptic::StationModels* models, QWidget* parent);

    const synoptic::MapView& View() const { return m_view; }
    void ZoomBy(double factor, QPointF at);
    void FitToStations();
    void ResetView();
    // The station within the hover reach of a pixel: a drawn model's station
    // first, else a marker's identifier; empty when there is none.
    QString StationAt(QPointF pixel) const;
    // The models drawn by the last paint.
    const std::vector<synoptic::PlacedModel>& PlacedModels() const { return m_placed; }

  signals:
    void StationClicked(const QString& id);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PaintMarkers(QPainter& painter);
    void PaintLabel(QPainter& painter, const StationRecord& record, const std::string& label,
                    const QColor& colour);
    QPointF Place(const StationRecord& record) const;
    StationList::Placer Placer() const;
    bool ShowsModels() const { return m_models != nullptr && m_view.Zoom() >= kModelZoom; }

    StationList& m_stations;
    const synoptic::StationModels* m_models;
    synoptic::MapView m_view;
    MapPainter m_painter;
    QImage m_picture;
    std::vector<synoptic::PlacedModel> m_placed;
    QToolButton* m_fit = nullptr;
    QPointF m_pressedAt;
    QPointF m_lastDrag;
    bool m_dragging = false;
};

}  // namespace nimboview
