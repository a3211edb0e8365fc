// The options dialog: decoding, display, logging and printer settings. It
// edits a copy of the settings and, when confirmed, hands them back and
// writes them to the store.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "keyword_table.h"
#include "message_box.h"
#include "settings_store.h"
#include "terminal_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dovrel {

class ThreeStateBox;

// "Small fonts", "Medium fonts", "Large fonts" for states 0..2.
QString FontStateCaption(int state);
// State of a font size: 0 for 8.25, 1 for 11.25, 2 for 18.75 points, else 0.
int FontStateOf(double points);
// The font size of a state: 8.25, 11.25 or 18.75.
double FontSizeOfState(int state);
// Tool tip of the screen separation box for modes 0..2.
QString SeparationToolTip(int mode);

class DecOptDialog : public QDialog {
    Q_OBJECT
  public:
    // Reads the printer status for a port number; empty when ready. May set
    // the port to 0 (the printer cannot be used on this system).
    using PrinterStatus = std::function<std::string(std::int32_t& port)>;

    // `settings` are the values in memory; `store` is where OK writes them
    // and where the keyword slots and "ConvertEOL" are read from.
    DecOptDialog(const TerminalSettings& settings, const SettingsContext& store, MessageBox& box,
                 PrinterStatus printerStatus, QWidget* parent = nullptr);

    // The settings as confirmed (valid after the dialog was accepted).
    const TerminalSettings& Settings() const { return m_settings; }

  private:
    QWidget* CreateSignalFrame();
    QWidget* CreateKeywordFrame();
    QWidget* CreateMiscFrame();
    QWidget* CreateLogFrame();
    QWidget* CreateScreenFrame();
    QWidget* CreatePrinterFrame();
    QCheckBox* AddCheck(const char* name, const QString& caption, const QString& toolTip, bool on);
    void LoadKeywords();
    void CheckKeyword(int slot);
    void OnDevice(int index);
    void OnOk();
    void Store() const;

    TerminalSettings m_settings;
    SettingsContext m_store;
    MessageBox& m_box;
    PrinterStatus m_printerStatus;

    QCheckBox *m_bellBeeps, *m_waitTimO, *m_keywords, *m_allowSend, *m_nstdBauds, *m_convertEol;
    QCheckBox *m_fileBlocs, *m_fileStamp, *m_screenStamp, *m_mesgBeeps, *m_autoSynop, *m_autoLogst,
        *m_obsArchive;
    QComboBox* m_waitTimV;
    QLineEdit* m_applNames;
    ThreeStateBox *m_fontSize, *m_screenBlocs;
    std::array<QLineEdit*, kUserKeywords> m_keys{};
    std::array<QPushButton*, kUserKeywords> m_mods{};
    std::array<std::int16_t, kUserKeywords> m_modes{};
    std::array<QRadioButton*, 3> m_devices{};
};

}  // namespace dovrel
