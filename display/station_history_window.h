// The station history window: charts of temperature and dew point, sea-level
// pressure and wind speed over the ten days up to the station's latest
// report, and the table of those reports, newest first.
#pragma once

#include <QWidget>
#include <string>

#include "station_history.h"

class QChart;
class QLabel;
class QTableWidget;

namespace nimboview {

class StationHistoryWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of its own, kept above its owner (the decoder window).
    explicit StationHistoryWindow(QWidget* owner);

    // Reads the station's history from the archive file and shows it; when
    // there is none, the window says why.
    void ShowStation(const std::string& archivePath, const std::string& station);

    // The charts from top to bottom (temperature, pressure, wind) and the
    // table, for tests.
    QList<QChart*> Charts() const;
    QTableWidget* Table() const { return m_table; }

  private:
    void FillCharts(const StationHistory& history);
    void FillTable(const StationHistory& history);

    QLabel* m_summary = nullptr;
    QList<QChart*> m_charts;
    QTableWidget* m_table = nullptr;
};

}  // namespace nimboview
