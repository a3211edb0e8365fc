// The decoder window: tool bar, read-only text pane and status panes; shows
// what the decoder reports and owns the station map window while it is open.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <map>
#include <optional>

#include "decoder_view.h"
#include "station_history_window.h"
#include "station_map_window.h"
#include "tool_commands.h"

class QAction;
class QToolBar;

namespace nimbo {
class FindBar;
}

namespace nimboview {

class RichTextPane;
class StatusPanes;
class WeatherDialog;

class DecoderWindow : public QWidget, public DecoderView {
    Q_OBJECT

  public:
    // The dialog is not owned and outlives the window (it owns the window).
    explicit DecoderWindow(WeatherDialog& dialog);
    ~DecoderWindow() override;

    QAction* Action(ToolCommand command) const;
    RichTextPane* TextPane() const { return m_text; }
    StatusPanes* Panes() const { return m_panes; }
    // The map window while it is open, else null.
    StationMapWindow* MapWindow() const { return m_map; }
    // The station history window once opened, else null.
    StationHistoryWindow* HistoryWindow() const { return m_history; }

    // Places the window so that its frame, title bar and borders included,
    // covers frame (screen pixels). Before a window manager has framed the
    // window its borders are not known: the size is then given to the inside
    // and made right as soon as the frame appears, so a size put and read
    // back is the same with and without a window manager.
    void SetFrameGeometry(const QRect& frame);

    // Tool bar state that follows the logging flag.
    void SetLoggingCommands(bool logging);
    void SetPauseChecked(bool checked);
    void SetStatusText(int pane, const QString& text);

    // The tool-bar commands.
    void OpenLog();
    void ToggleMap();
    void Clear();
    void Copy();
    // Opens (or brings up) the history window on the station's reports in
    // the control's archive. A click on a station's marker on the map or on
    // its "Station Identity:" line in the pane comes here.
    void ShowStationHistory(const std::string& station);
    // Writes the decoded reports to a file the user chooses; its name's
    // suffix chooses CSV, GeoJSON or obs-json.
    void ExportReports();
    nimbo::FindBar* Find() const { return m_find; }

    // DecoderView
    void Append(const QString& text, const QColor& colour, bool bold) override;
    void SetStateText(const QString& text) override;
    void SetResyncChecked(bool checked) override;
    void ShowIfHidden() override;
    void StationsChanged(const QString& title) override;

  signals:
    // A station of the map was clicked (IIiii or call sign).
    void StationClicked(const QString& id);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateToolBar();
    QAction* AddCommand(ToolCommand command, bool checkable);
    void RunCommand(ToolCommand command, bool checked);
    void PaneClicked(int pane);
    // A click (not a selection) on a station line of the text pane.
    void TextClicked(const QPoint& at);
    // Borders the window manager adds around the window (none without one).
    QMargins FrameMargins() const;
    void ApplyFrameGeometry();
    // Gives a frame that appeared after SetFrameGeometry its wanted size.
    void KeepWantedFrame();

    WeatherDialog& m_dialog;
    QToolBar* m_toolBar = nullptr;
    RichTextPane* m_text = nullptr;
    nimbo::FindBar* m_find = nullptr;
    StatusPanes* m_panes = nullptr;
    std::map<ToolCommand, QAction*> m_actions;
    QPointer<StationMapWindow> m_map;
    QPointer<StationHistoryWindow> m_history;
    bool m_mapOpenedBefore = false;
    // The frame last asked for while its borders were not yet known, and the
    // borders it was placed with.
    std::optional<QRect> m_wantedFrame;
    QMargins m_placedMargins;
};

}  // namespace nimboview
