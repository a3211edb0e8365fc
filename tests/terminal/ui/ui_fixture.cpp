// The window tests' fixture.
#include "ui_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdlib>

#include "terminal_pane.h"

namespace dovrel::test {

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&m_master, &m_slaveFd, name, nullptr, nullptr) != 0) return;
    termios raw{};
    ::tcgetattr(m_slaveFd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slaveFd, TCSANOW, &raw);
    m_slave = name;
}

PtyPair::~PtyPair() {
    CloseMaster();
    if (m_slaveFd >= 0) ::close(m_slaveFd);
}

void PtyPair::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::Read(std::size_t count) {
    std::string out;
    // Bytes at the master wake the event loop.
    QSocketNotifier readable(m_master, QSocketNotifier::Read);
    WaitUntil([&] {
        char buf[256];
        for (pollfd p{m_master, POLLIN, 0}; ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out.size() >= count;
    });
    return out;
}

bool PtyPair::Unread() const {
    // Polling the slave also hands the kernel's pending input to its queue.
    pollfd p{m_slaveFd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

void PtyPair::CloseMaster() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    // Events wake the loop at once; the tick checks again what no event
    // announces (files, other processes).
    QTimer tick;
    tick.start(10);
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

void WindowTest::SetUp() {
    ASSERT_TRUE(m_config.isValid());
    ASSERT_TRUE(m_work.isValid());
    ::setenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit().constData(), 1);
    ::unsetenv("VISUAL");
    ::unsetenv("EDITOR");
}

void WindowTest::TearDown() { QApplication::processEvents(); }

SettingsContext WindowTest::Store(const std::string& context) const {
    return SettingsContext(SettingsStore::ForUser(), context);
}

std::string WindowTest::Context(const std::string& instance) const {
    return instance.empty() ? "Quarnel" : "Quarnel - " + instance;
}

std::unique_ptr<Quarnel> WindowTest::MakeWindow() {
    QuarnelSeams seams;
    seams.box = &m_box;
    seams.fileChoice = &m_choice;
    seams.workDir = m_work.path().toStdString();
    seams.lockDirectory = "";
    seams.beep = [this] { ++beeps; };
    seams.audioOpener = audioOpener;
    seams.runDialog = [this](QDialog& dialog) {
        dialogsShown.push_back(dialog.objectName().toStdString());
        return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
    };
    seams.startProcess = [this](const std::vector<std::string>& command) {
        processesStarted.push_back(command);
        return true;
    };
    seams.listPorts = [this](const LineSettings& current, const std::string& ours) {
        PortList list;
        if (m_pty) {
            const bool isOurs = ours == m_pty->SlavePath();
            list.entries.push_back({m_pty->SlavePath(), isOurs ? PortUse::Ours : PortUse::Free,
                                    (isOurs ? "=" : "") + m_pty->SlavePath()});
            if (current.PortName == m_pty->SlavePath()) list.selected = 0;
        }
        return list;
    };
    seams.printerReader = std::move(printerReader);
    if (createWeather) {
        seams.createWeather = createWeather;
    } else if (!withWeather) {
        seams.createWeather = [](std::string* error) {
            *error = "libNimboview.so: cannot open shared object file";
            return WeatherDialogRef();
        };
    }
    return std::make_unique<Quarnel>(std::move(seams));
}

std::unique_ptr<Quarnel> WindowTest::StartOnPty(const std::vector<std::string>& args) {
    m_pty = std::make_unique<PtyPair>();
    const std::string instance = args.empty() ? std::string() : args.front();
    Store(Context(instance)).WriteText("PortName", m_pty->SlavePath());
    auto window = MakeWindow();
    EXPECT_TRUE(window->Start(args));
    return window;
}

std::string WindowTest::PaneText(const Quarnel& window) const {
    return window.Pane()->toPlainText().toStdString();
}

}  // namespace dovrel::test
