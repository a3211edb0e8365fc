// Qt implementations of the core's seams.
#include "qt_seams.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace dovrel {
namespace {

QMessageBox::StandardButtons ButtonsOf(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case BoxButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case BoxButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Stop:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

BoxAnswer AnswerOf(int button, BoxButtons buttons) {
    switch (button) {
        case QMessageBox::Yes:
            return BoxAnswer::Yes;
        case QMessageBox::No:
            return BoxAnswer::No;
        case QMessageBox::Retry:
            return BoxAnswer::Retry;
        case QMessageBox::Ok:
            return BoxAnswer::Ok;
        default:
            break;
    }
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

// Lines holding a TAB (the usage) are laid out as a table: the text before
// the TAB in one column, the rest in the next.
QString TableOf(const QString& body) {
    QString html = "<table cellspacing=\"0\" cellpadding=\"2\">";
    for (const QString& line : body.split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        html += tab < 0
                    ? "<tr><td colspan=\"2\">" + line.toHtmlEscaped() + "&nbsp;</td></tr>"
                    : "<tr><td style=\"padding-right:12px\"><b>" + line.left(tab).toHtmlEscaped() +
                          "</b></td><td>" + line.mid(tab + 1).toHtmlEscaped() + "</td></tr>";
    }
    return html + "</table>";
}

}  // namespace

BoxAnswer QtMessageBox::Show(const std::string& text, const std::string& title, BoxButtons buttons,
                             BoxIcon icon) {
    const std::string& shownTitle = title.empty() ? m_appTitle : title;
    QString body = QString::fromLocal8Bit(text.c_str());
    body.replace("\r\n", "\n");
    if (body.contains('\t')) body = TableOf(body);
    QMessageBox box(IconOf(icon), QString::fromStdString(shownTitle), body, ButtonsOf(buttons),
                    m_parent);
    if (buttons == BoxButtons::Ok) box.setEscapeButton(QMessageBox::Ok);
    return AnswerOf(box.exec(), buttons);
}

QString QtFilterOf(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ').replace("*.*", "*");
        out << parts[i] + " (" + patterns + ")";
    }
    return out.join(";;");
}

std::optional<std::string> QtLogFileChoice::Choose(const LogFileRequest& request) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialFolder), QtFilterOf(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    dialog.selectFile(QString::fromStdString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void QtScheduler::Post(std::function<void()> task) {
    QTimer::singleShot(0, m_context, std::move(task));
}

QtTickTimer::QtTickTimer(std::function<void()> onTick, QObject* parent) : QObject(parent) {
    QObject::connect(&m_timer, &QTimer::timeout, this, std::move(onTick));
}

void QtTickTimer::Start(int intervalMs) { m_timer.start(intervalMs); }
void QtTickTimer::Stop() { m_timer.stop(); }

}  // namespace dovrel
