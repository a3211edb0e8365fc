// Vocabulary of the window tests: a temporary settings folder, scripted
// boxes and file choices, a pseudo-terminal as the serial line, and a
// window built with them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTemporaryDir>
#include <QToolButton>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio_input.h"
#include "log_file_choice.h"
#include "message_box.h"
#include "quarnel.h"
#include "scripted_prompts.h"
#include "settings_store.h"

namespace dovrel::test {

using ::dovrel::testing::ScriptedBox;
using ::dovrel::testing::ScriptedChoice;

// The master side of a pseudo-terminal whose slave is the terminal's line.
class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    const std::string& SlavePath() const { return m_slave; }
    void Write(const std::string& bytes);
    // What the terminal sent: read until `count` bytes came (or three seconds passed).
    std::string Read(std::size_t count);
    // True while the terminal has not read everything written to it.
    bool Unread() const;
    void CloseMaster();

  private:
    int m_master = -1;
    int m_slaveFd = -1;
    std::string m_slave;
};

// Processes events until `done` holds or `ms` pass; the final value of done().
bool WaitUntil(const std::function<bool()>& done, int ms = 3000);

// Each test gets its own settings folder and working folder.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The store of a context in the test's settings folder.
    SettingsContext Store(const std::string& context = "Quarnel") const;
    // A window wired to the scripted seams; dialogs go to `onDialog`
    // (rejecting when it is empty).
    std::unique_ptr<Quarnel> MakeWindow();
    // A window started with `args` on a pseudo-terminal line.
    std::unique_ptr<Quarnel> StartOnPty(const std::vector<std::string>& args = {"T1"});
    std::string Context(const std::string& instance = "T1") const;
    std::string PaneText(const Quarnel& window) const;

    QTemporaryDir m_config;
    QTemporaryDir m_work;
    ScriptedBox m_box;
    ScriptedChoice m_choice;
    std::function<int(QDialog&)> onDialog;
    std::vector<std::string> dialogsShown;
    std::vector<std::vector<std::string>> processesStarted;
    std::unique_ptr<PtyPair> m_pty;
    int beeps = 0;
    // Off: the weather display control cannot be created, as when its
    // library is missing. On: the real control found by the loader.
    bool withWeather = false;
    // When set, the window's weather control comes from here instead.
    WeatherFactory createWeather;
    // The printer the window asks; null takes the system's.
    std::unique_ptr<PrinterStatusReader> printerReader;
    // Sound inputs for the window; null takes Qt Multimedia's.
    AudioInputOpener* audioOpener = nullptr;
};

}  // namespace dovrel::test
