// Reading a station's history and the report table's texts.
#include "station_history.h"

#include <chrono>

#include "cp1252_text.h"
#include "observation_archive.h"

namespace nimboview {
namespace {

constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
constexpr int kBusyMilliseconds = 200;

QDate ToQDate(const std::chrono::year_month_day& day) {
    return QDate(static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
                 static_cast<int>(static_cast<unsigned>(day.day())));
}

QString Number(const std::optional<double>& value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QString();
}

QString WindText(const nimbo::WeatherObservation& o) {
    const QString unit = QString::fromStdString(o.windSpeedUnit);
    const QString speed = o.windSpeed ? QString::number(*o.windSpeed) + " " + unit : QString();
    if (o.windCalm) return QStringLiteral("calm");
    if (o.windVariable) return speed.isEmpty() ? "variable" : "variable, " + speed;
    if (!o.windDirection) return speed;
    const QString direction = QString::number(*o.windDirection) + QChar(0xB0);
    return speed.isEmpty() ? direction : direction + ", " + speed;
}

QString VisibilityText(const std::optional<int>& metres) {
    if (!metres) return {};
    if (*metres < 1000) return QString::number(*metres) + " m";
    return QString::number(*metres / 1000.0) + " km";
}

}  // namespace

StationHistory ReadStationHistory(const std::string& archivePath, const std::string& station) {
    StationHistory history;
    history.station = station;
    const QString name = QString::fromStdString(station);
    if (archivePath.empty()) {
        history.problem = QStringLiteral("No observation archive is kept.");
        return history;
    }
    std::string error;
    auto archive = nimbo::ObservationArchive::Open(
        archivePath, nimbo::ObservationArchive::Access::kReadOnly, &error, kBusyMilliseconds);
    if (!archive) {
        history.problem = QString::fromStdString(error);
        return history;
    }
    const auto latest = archive->LatestDay(station);
    if (!latest) {
        history.problem = archive->Error().empty() ? "No report of " + name + " in the archive."
                                                   : QString::fromStdString(archive->Error());
        return history;
    }
    using std::chrono::days;
    const std::chrono::year_month_day first{std::chrono::sys_days(*latest) -
                                            days(StationHistory::kDays - 1)};
    if (!archive->History(station, first, &history.reports)) {
        history.problem = QString::fromStdString(archive->Error());
    }
    history.from = QDateTime(ToQDate(first), QTime(0, 0));
    history.to = QDateTime(ToQDate(*latest).addDays(1), QTime(0, 0));
    return history;
}

QDateTime ObservationTime(const nimbo::WeatherObservation& o) {
    return QDateTime(QDate(o.year.value_or(0), o.month.value_or(0), o.day.value_or(0)),
                     QTime(o.hour.value_or(0), 0));
}

std::optional<double> WindSpeedMetresPerSecond(const nimbo::WeatherObservation& o) {
    if (o.windCalm) return 0.0;
    if (!o.windSpeed) return std::nullopt;
    return o.windSpeedUnit == "kt" ? *o.windSpeed * kMetresPerSecondPerKnot : *o.windSpeed;
}

QStringList HistoryColumns() {
    return {"Time (UTC)", "Temperature (°C)", "Dew point (°C)", "Pressure (hPa)", "Wind",
            "Gust",       "Visibility",       "Cloud",          "Weather (ww)",   "Status",
            "Report"};
}

QStringList HistoryCells(const nimbo::ArchivedReport& report) {
    const nimbo::WeatherObservation& o = report.observation;
    const QString unit = QString::fromStdString(o.windSpeedUnit);
    return {ObservationTime(o).toString("yyyy-MM-dd hh:mm"),
            Number(o.airTemperature, 1),
            Number(o.dewPoint, 1),
            Number(o.seaLevelPressure, 1),
            WindText(o),
            o.gust ? QString::number(*o.gust) + " " + unit : QString(),
            VisibilityText(o.visibilityM),
            o.cloudCoverOktas ? QString::number(*o.cloudCoverOktas) + "/8" : QString(),
            o.presentWeatherCode ? QString::number(*o.presentWeatherCode) : QString(),
            Cp1252ToUnicode(o.correction),
            Cp1252ToUnicode(o.report)};
}

std::string StationOfDecodedLine(const QString& line) {
    static const QString kLabel = QStringLiteral("Station Identity:  ");
    if (!line.startsWith(kLabel)) return {};
    const QString rest = line.mid(kLabel.size()).trimmed();
    return rest.section(' ', 0, 0).toStdString();
}

}  // namespace nimboview
