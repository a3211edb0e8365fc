// One station's history as the history window shows it: the reports of the
// ten days up to the station's latest one, read from the archive, and the
// texts and values taken from each report.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "archive_row.h"

namespace nimboview {

struct StationHistory {
    static constexpr int kDays = 10;

    std::string station;
    std::vector<nimbo::ArchivedReport> reports;  // oldest first
    QDateTime from;                              // start of the first of the ten days
    QDateTime to;                                // end of the latest report's day
    QString problem;  // why there is nothing to show; empty when all went well
};

// Reads the station's reports of the ten days up to its latest one from the
// archive file (never writes to it). An empty path means archiving is off.
StationHistory ReadStationHistory(const std::string& archivePath, const std::string& station);

// Observation time of a report. Times are UTC; they are given as local
// times so that a chart's time axis, which labels in local time, reads UTC.
QDateTime ObservationTime(const nimbo::WeatherObservation& observation);
// Wind speed in m/s, whichever unit the report gave it in.
std::optional<double> WindSpeedMetresPerSecond(const nimbo::WeatherObservation& observation);

// Headers of the report table and the cells of one report, in that order.
QStringList HistoryColumns();
QStringList HistoryCells(const nimbo::ArchivedReport& report);

// The station in a decoder window line "Station Identity:  01025 ..."; empty
// for any other line.
std::string StationOfDecodedLine(const QString& line);

}  // namespace nimboview
