// The station map window: the zoomable map (MapCanvas) and, once a station
// is clicked, its latest decoded report in a panel beside the map.
#pragma once

#include <QImage>
#include <QWidget>

#include "map_canvas.h"
#include "station_list.h"
#include "station_models.h"

class QTextBrowser;

namespace nimboview {

class StationMapWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMapWidth = 600;
    static constexpr int kMapHeight = 300;
    static constexpr int kReportWidth = 260;

    // The lists are not owned and must outlive the window; owner is the
    // decoder window; models may be null. Moves to the list's recorded
    // position when it has one.
    StationMapWindow(StationList& stations, QWidget* owner,
                     const synoptic::StationModels* models = nullptr);

    // The world map picture (600x300), null when it could not be loaded.
    static QImage MapPicture();

    MapCanvas* Canvas() const { return m_canvas; }
    QTextBrowser* ReportPanel() const { return m_report; }

    // Repaint after a list change; a non-empty title replaces the caption.
    void StationsChanged(const QString& title);
    // Shows the latest report of a station beside the map.
    void ShowReport(const QString& station);

  signals:
    // A click on a station of the map, with its identifier (IIiii or call
    // sign); the report panel has already been filled.
    void StationClicked(const QString& id);

  protected:
    void moveEvent(QMoveEvent* event) override;

  private:
    StationList& m_stations;
    const synoptic::StationModels* m_models;
    MapCanvas* m_canvas = nullptr;
    QTextBrowser* m_report = nullptr;
};

}  // namespace nimboview
