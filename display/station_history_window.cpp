// Station history window: three charts over one time axis each, and the
// table. The charts are made once; showing a station replaces their points.
#include "station_history_window.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "cp1252_text.h"

namespace nimboview {
namespace {

using ValueOf = std::optional<double> (*)(const nimbo::WeatherObservation&);

struct PlottedSeries {
    const char* name;
    QColor colour;
    ValueOf value;
};

// The charts from top to bottom: axis title and series.
struct PlottedChart {
    const char* axisTitle;
    std::vector<PlottedSeries> series;
};

const std::vector<PlottedChart>& PlottedCharts() {
    static const std::vector<PlottedChart> charts = {
        {"°C",
         {{"Temperature", QColor(200, 40, 40),
           [](const nimbo::WeatherObservation& o) { return o.airTemperature; }},
          {"Dew point", QColor(30, 120, 60),
           [](const nimbo::WeatherObservation& o) { return o.dewPoint; }}}},
        {"hPa",
         {{"Sea-level pressure", QColor(40, 80, 190),
           [](const nimbo::WeatherObservation& o) { return o.seaLevelPressure; }}}},
        {"m/s", {{"Wind speed", QColor(120, 80, 160), &WindSpeedMetresPerSecond}}},
    };
    return charts;
}

QChart* MakeChart(const PlottedChart& plotted) {
    auto* chart = new QChart;
    chart->setMargins(QMargins(2, 2, 2, 2));
    auto* time = new QDateTimeAxis;
    time->setFormat("dd MMM");
    time->setTickCount(StationHistory::kDays + 1);
    auto* values = new QValueAxis;
    values->setTitleText(QString::fromUtf8(plotted.axisTitle));
    values->setLabelFormat("%.0f");
    values->setTickCount(4);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    for (const PlottedSeries& s : plotted.series) {
        auto* series = new QLineSeries;
        series->setName(s.name);
        series->setColor(s.colour);
        series->setPointsVisible(true);
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(values);
    }
    chart->legend()->setAlignment(Qt::AlignTop);
    return chart;
}

// Replaces the chart's points with the history's values; the time axis
// spans the ten days, the value axis the values with a margin.
void FillChart(QChart* chart, const PlottedChart& plotted, const StationHistory& history) {
    double low = 0;
    double high = 0;
    bool any = false;
    const QList<QAbstractSeries*> series = chart->series();
    for (qsizetype i = 0; i < series.size(); ++i) {
        QList<QPointF> points;
        for (const nimbo::ArchivedReport& report : history.reports) {
            const std::optional<double> value = plotted.series[i].value(report.observation);
            if (!value) continue;
            points.append(QPointF(ObservationTime(report.observation).toMSecsSinceEpoch(), *value));
            low = any ? std::min(low, *value) : *value;
            high = any ? std::max(high, *value) : *value;
            any = true;
        }
        static_cast<QLineSeries*>(series[i])->replace(points);
    }
    auto* time = static_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* values = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (history.from.isValid()) time->setRange(history.from, history.to);
    values->setRange(low - 1, high + 1);
    values->applyNiceNumbers();
}

}  // namespace

StationHistoryWindow::StationHistoryWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("Station History"));
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_summary);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    for (const PlottedChart& plotted : PlottedCharts()) {
        auto* view = new QChartView(MakeChart(plotted), splitter);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(180);
        m_charts.append(view->chart());
    }
    m_table = new QTableWidget(0, static_cast<int>(HistoryColumns().size()), splitter);
    m_table->setHorizontalHeaderLabels(HistoryColumns());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(splitter, 1);
    resize(940, 900);
}

QList<QChart*> StationHistoryWindow::Charts() const { return m_charts; }

void StationHistoryWindow::ShowStation(const std::string& archivePath, const std::string& station) {
    const StationHistory history = ReadStationHistory(archivePath, station);
    QString title = QString::fromStdString(station);
    QString summary = history.problem;
    if (!history.reports.empty()) {
        const nimbo::WeatherObservation& latest = history.reports.back().observation;
        if (!latest.name.empty()) title += " " + Cp1252ToUnicode(latest.name);
        if (!latest.country.empty()) title += " [" + Cp1252ToUnicode(latest.country) + "]";
        summary = QString("%1 reports from %2 to %3 (UTC)")
                      .arg(history.reports.size())
                      .arg(history.from.toString("yyyy-MM-dd"),
                           history.to.addDays(-1).toString("yyyy-MM-dd"));
    }
    setWindowTitle("Station History - " + title);
    m_summary->setText(title + ": " + summary);
    FillCharts(history);
    FillTable(history);
}

void StationHistoryWindow::FillCharts(const StationHistory& history) {
    for (qsizetype i = 0; i < m_charts.size(); ++i) {
        FillChart(m_charts[i], PlottedCharts()[static_cast<std::size_t>(i)], history);
    }
}

void StationHistoryWindow::FillTable(const StationHistory& history) {
    m_table->setRowCount(static_cast<int>(history.reports.size()));
    int row = 0;
    for (auto report = history.reports.rbegin(); report != history.reports.rend(); ++report) {
        const QStringList cells = HistoryCells(*report);
        for (int column = 0; column < cells.size(); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        ++row;
    }
    m_table->resizeColumnsToContents();
}

}  // namespace nimboview
