// The options dialog: its frames are built by small helpers, and OK writes
// the values in a fixed order.
#include "dec_opt_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "three_state_box.h"

namespace dovrel {
namespace {

// Turns a keyword box to capitals when it loses the focus.
class KeywordEdit : public QLineEdit {
  public:
    KeywordEdit(std::function<void()> onLeave, QWidget* parent)
        : QLineEdit(parent), m_onLeave(std::move(onLeave)) {}

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        m_onLeave();
    }

  private:
    std::function<void()> m_onLeave;
};

const char* const kWaitEntries[] = {"1", "5", "10", "20", "25", "30", "45", "60", "120"};

}  // namespace

QString FontStateCaption(int state) {
    static const char* const kCaptions[] = {"Small fonts", "Medium fonts", "Large fonts"};
    return (state >= 0 && state < 3) ? kCaptions[state] : QString();
}

int FontStateOf(double points) {
    if (points == 11.25) return 1;
    if (points == 18.75) return 2;
    return 0;
}

double FontSizeOfState(int state) { return state == 1 ? 11.25 : state == 2 ? 18.75 : 8.25; }

QString SeparationToolTip(int mode) {
    switch (mode) {
        case 0:
            return "Do not separate ZCZC/NNNN messages";
        case 1:
            return "Separate ZCZC/NNNN messages, ZCZC must start a line";
        case 2:
            return "Separate ZCZC/NNNN messages, ZCZC can be anywhere";
        default:
            break;
    }
    return {};
}

DecOptDialog::DecOptDialog(const TerminalSettings& settings, const SettingsContext& store,
                           MessageBox& box, PrinterStatus printerStatus, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_store(store),
      m_box(box),
      m_printerStatus(std::move(printerStatus)) {
    setObjectName("DecOpt");
    setWindowTitle("Options");
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(CreateSignalFrame(), 0, 0);
    grid->addWidget(CreateMiscFrame(), 1, 0);
    grid->addWidget(CreateKeywordFrame(), 0, 1, 3, 1);
    grid->addWidget(CreateLogFrame(), 2, 0);
    grid->addWidget(CreateScreenFrame(), 3, 0);
    auto* loose = new QVBoxLayout;
    m_mesgBeeps =
        AddCheck("MesgBeeps", "&Beep on messages",
                 "Beep when receiving new message indicator (ZCZC)", m_settings.MesgBeeps);
    m_autoSynop =
        AddCheck("AutoSynop", "Autostart &SYNOP",
                 "Automatically start synop decoding on AAXX / BBXX receive", m_settings.AutoSynop);
    m_autoLogst = AddCheck("AutoLogst", "Autostart &log file",
                           "Automatically open log file on start", m_settings.AutoLogst);
    loose->addWidget(m_mesgBeeps);
    loose->addWidget(m_autoSynop);
    m_obsArchive = AddCheck("ObsArchive", "Keep reports in the &archive",
                            "Store every decoded report in Data/<instance>.sqlite for the "
                            "station histories",
                            m_settings.ObsArchive);
    loose->addWidget(m_autoLogst);
    loose->addWidget(m_obsArchive);
    grid->addLayout(loose, 3, 1);
    grid->addWidget(CreatePrinterFrame(), 4, 0);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("Cancel");
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 1);
    connect(ok, &QPushButton::clicked, this, &DecOptDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QCheckBox* DecOptDialog::AddCheck(const char* name, const QString& caption, const QString& toolTip,
                                  bool on) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->setToolTip(toolTip);
    box->setChecked(on);
    return box;
}

QWidget* DecOptDialog::CreateSignalFrame() {
    auto* frame = new QGroupBox("Signal", this);
    auto* layout = new QGridLayout(frame);
    m_bellBeeps = AddCheck("BellBeeps", "&Beep on BELL", "Beep when bell char. received",
                           m_settings.BellBeeps);
    m_waitTimO =
        AddCheck("WaitTimO", "No sig. timeout", "Time (s) to wait before 'no signal' condition",
                 m_settings.WaitTime != 0);
    m_waitTimV = new QComboBox(frame);
    m_waitTimV->setObjectName("WaitTimV");
    m_waitTimV->setEditable(true);
    for (const char* entry : kWaitEntries) m_waitTimV->addItem(entry);
    if (m_settings.WaitTime != 0) m_waitTimV->setEditText(QString::number(m_settings.WaitTime));
    layout->addWidget(m_bellBeeps, 0, 0, 1, 2);
    layout->addWidget(m_waitTimO, 1, 0);
    layout->addWidget(m_waitTimV, 1, 1);
    return frame;
}

QWidget* DecOptDialog::CreateKeywordFrame() {
    auto* frame = new QGroupBox(this);
    auto* layout = new QGridLayout(frame);
    m_keywords =
        AddCheck("Keywords", QString::fromStdString(KeywordsCheckCaption(m_settings.LookWords)),
                 "Toogle Keyword decoding", m_settings.LookWords);
    connect(m_keywords, &QCheckBox::toggled, this, [this](bool on) {
        m_keywords->setText(QString::fromStdString(KeywordsCheckCaption(on)));
    });
    layout->addWidget(m_keywords, 0, 0, 1, 2);
    for (int i = 0; i < static_cast<int>(kUserKeywords); ++i) {
        auto* key = new KeywordEdit([this, i] { CheckKeyword(i); }, frame);
        key->setObjectName(QString("Keys%1").arg(i));
        key->setToolTip("Enter AlphaNum Keyword with spaces if needed");
        auto* mod = new QPushButton(frame);
        mod->setObjectName(QString("Mods%1").arg(i));
        mod->setFixedWidth(mod->fontMetrics().horizontalAdvance("WW") + 12);
        connect(mod, &QPushButton::clicked, this, [this, i] {
            m_modes[i] = NextMatchKind(m_modes[i]);
            m_mods[i]->setText(QString::fromStdString(MatchKindCaption(m_modes[i])));
            m_mods[i]->setToolTip(QString::fromStdString(MatchKindToolTip(m_modes[i])));
        });
        m_keys[i] = key;
        m_mods[i] = mod;
        layout->addWidget(key, i + 1, 0);
        layout->addWidget(mod, i + 1, 1);
    }
    LoadKeywords();
    return frame;
}

void DecOptDialog::LoadKeywords() {
    for (std::size_t i = 0; i < kUserKeywords; ++i) {
        const std::string n = std::to_string(i);
        m_keys[i]->setText(QString::fromStdString(m_store.ReadText("Keyword" + n)));
        auto mode = static_cast<std::int16_t>(m_store.ReadInt("Keymode" + n, 0));
        m_modes[i] = (mode >= 0 && mode <= 2) ? mode : 0;
        m_mods[i]->setText(QString::fromStdString(MatchKindCaption(m_modes[i])));
        m_mods[i]->setToolTip(QString::fromStdString(MatchKindToolTip(m_modes[i])));
    }
}

void DecOptDialog::CheckKeyword(int slot) {
    std::string text = m_keys[slot]->text().toStdString();
    const std::string refusal = CheckUserKeyword(text);
    m_keys[slot]->setText(QString::fromStdString(text));
    if (!refusal.empty()) m_box.Show(refusal, "", BoxButtons::Ok, BoxIcon::None);
}

QWidget* DecOptDialog::CreateMiscFrame() {
    auto* frame = new QGroupBox("Misc.", this);
    auto* layout = new QGridLayout(frame);
    m_allowSend =
        AddCheck("AllowSend", "&Allow sending data", "Data can be sended", m_settings.AllowSend);
    m_nstdBauds = AddCheck("NstdBauds", "&Non standard speeds",
                           "Allow 135, 150, 200, 600 and 1200 bds", m_settings.NstdBauds);
    m_fontSize = new ThreeStateBox("&Big font size", frame);
    m_fontSize->setObjectName("FontSiz0");
    m_fontSize->setToolTip("Change font size");
    m_fontSize->SetValue(FontStateOf(m_settings.FontSize));
    m_fontSize->setText(FontStateCaption(m_fontSize->Value()));
    connect(m_fontSize, &QCheckBox::clicked, this,
            [this] { m_fontSize->setText(FontStateCaption(m_fontSize->Value())); });
    m_applNames = new QLineEdit(QString::fromStdString(m_settings.ApplNames), frame);
    m_applNames->setObjectName("ApplNames");
    m_applNames->setToolTip(
        "Set the application caption name that will receive right mouse 'copy data' messages");
    layout->addWidget(m_allowSend, 0, 0, 1, 2);
    layout->addWidget(m_nstdBauds, 1, 0, 1, 2);
    layout->addWidget(m_fontSize, 2, 0, 1, 2);
    layout->addWidget(new QLabel("Target", frame), 3, 0);
    layout->addWidget(m_applNames, 3, 1);
    return frame;
}

QWidget* DecOptDialog::CreateLogFrame() {
    auto* frame = new QGroupBox("Log", this);
    auto* layout = new QVBoxLayout(frame);
    m_convertEol = AddCheck("ConvertEOL", "&Convert ending ';' in '='", "Separate each message",
                            m_store.ReadSwitch("ConvertEOL"));
    m_fileBlocs = AddCheck("MesgBlocs1", "&Messages separators", "", m_settings.FMesgBlocs != 0);
    m_fileStamp = AddCheck("Timestamp1", "&Line Timestamp", "Put Time in front of each line",
                           m_settings.FTimeStamp);
    layout->addWidget(m_convertEol);
    layout->addWidget(m_fileBlocs);
    layout->addWidget(m_fileStamp);
    return frame;
}

QWidget* DecOptDialog::CreateScreenFrame() {
    auto* frame = new QGroupBox("Screen", this);
    auto* layout = new QVBoxLayout(frame);
    m_screenStamp = AddCheck("Timestamp0", "&Line Timestamp", "Put Time in front of each line",
                             m_settings.STimeStamp);
    m_screenBlocs = new ThreeStateBox("&Messages separators", frame);
    m_screenBlocs->setObjectName("MesgBlocs0");
    m_screenBlocs->SetValue(m_settings.SMesgBlocs);
    auto tips = [this] {
        const QString tip = SeparationToolTip(m_screenBlocs->Value());
        m_screenBlocs->setToolTip(tip);
        m_fileBlocs->setToolTip(tip);
    };
    tips();
    connect(m_screenBlocs, &QCheckBox::clicked, this, tips);
    layout->addWidget(m_screenStamp);
    layout->addWidget(m_screenBlocs);
    return frame;
}

QWidget* DecOptDialog::CreatePrinterFrame() {
    auto* frame = new QGroupBox("&Printer", this);
    auto* layout = new QHBoxLayout(frame);
    const char* const captions[] = {"None", "LPT&1", "LPT&2"};
    for (int i = 0; i < 3; ++i) {
        m_devices[i] = new QRadioButton(captions[i], frame);
        m_devices[i]->setObjectName(QString("Device%1").arg(i));
        layout->addWidget(m_devices[i]);
        connect(m_devices[i], &QRadioButton::clicked, this, [this, i] { OnDevice(i); });
    }
    const int id = m_settings.PrinterId;
    m_devices[(id >= 0 && id <= 2) ? id : 0]->setChecked(true);
    return frame;
}

void DecOptDialog::OnDevice(int index) {
    m_settings.PrinterId = index;
    if (index == 0 || !m_printerStatus) return;
    const std::string status = m_printerStatus(m_settings.PrinterId);
    if (status.empty()) return;
    m_box.Show(status, "LPT" + std::to_string(m_settings.PrinterId) + " Printer Error",
               BoxButtons::Ok, BoxIcon::Exclamation);
    const int id = m_settings.PrinterId;
    m_devices[(id >= 0 && id <= 2) ? id : 0]->setChecked(true);
}

void DecOptDialog::OnOk() {
    for (int i = 0; i < static_cast<int>(kUserKeywords); ++i) CheckKeyword(i);
    TerminalSettings& s = m_settings;
    s.STimeStamp = m_screenStamp->isChecked();
    s.FTimeStamp = m_fileStamp->isChecked();
    s.AutoLogst = m_autoLogst->isChecked();
    s.ObsArchive = m_obsArchive->isChecked();
    s.AutoSynop = m_autoSynop->isChecked();
    s.MesgBeeps = m_mesgBeeps->isChecked();
    s.BellBeeps = m_bellBeeps->isChecked();
    s.NstdBauds = m_nstdBauds->isChecked();
    s.AllowSend = m_allowSend->isChecked();
    s.LookWords = m_keywords->isChecked();
    s.WaitTime = m_waitTimO->isChecked() ? m_waitTimV->currentText().trimmed().toInt() : 0;
    s.SMesgBlocs = m_screenBlocs->Value();
    s.FMesgBlocs = m_fileBlocs->isChecked() ? 1 : 0;
    s.ApplNames = m_applNames->text().toStdString();
    s.FontSize = FontSizeOfState(m_fontSize->Value());
    Store();
    accept();
}

void DecOptDialog::Store() const {
    const TerminalSettings& s = m_settings;
    m_store.WriteInt("SMesgBlocs", s.SMesgBlocs);
    m_store.WriteSwitch("STimeStamp", s.STimeStamp, 1);
    m_store.WriteInt("FMesgBlocs", s.FMesgBlocs);
    m_store.WriteSwitch("FTimeStamp", s.FTimeStamp, 1);
    m_store.WriteSwitch("AutoLogst", s.AutoLogst, 1);
    m_store.WriteSwitch("MesgBeeps", s.MesgBeeps, 1);
    m_store.WriteSwitch("BellBeeps", s.BellBeeps, 1);
    m_store.WriteSwitch("NstdBauds", s.NstdBauds, 1);
    m_store.WriteSwitch("AllowSend", s.AllowSend, 1);
    m_store.WriteText("ApplNames", s.ApplNames);
    m_store.WriteSwitch("AutoSynop", s.AutoSynop, 1);
    m_store.WriteSwitch("ConvertEOL", m_convertEol->isChecked(), 1);
    m_store.WriteInt("WaitTime", s.WaitTime);
    m_store.WriteText("FontSize", FormatFontSize(s.FontSize));
    m_store.WriteInt("PrinterId", s.PrinterId);
    m_store.WriteSwitch("ObsArchive", s.ObsArchive, 1);
    for (std::size_t i = 0; i < kUserKeywords; ++i) {
        m_store.WriteText("Keyword" + std::to_string(i), m_keys[i]->text().toStdString());
        m_store.WriteInt("Keymode" + std::to_string(i), m_modes[i]);
    }
}

}  // namespace dovrel
