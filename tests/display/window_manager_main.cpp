// Test runner of the window tests under a real window manager: starts a
// private X server (Xvfb) and openbox on it, runs the tests on it, and stops
// both. When Xvfb or openbox is not installed the tests are skipped and say so.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(std::vector<std::string> arguments, const posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// Xvfb on the first free display, and openbox on it; both stopped by their
// process ids when the run ends.
class DesktopServer {
  public:
    ~DesktopServer() {
        for (const pid_t pid : {m_windowManager, m_server}) {
            if (pid <= 0) continue;
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // Empty when the desktop runs, else why it does not.
    std::string Start() {
        for (const char* program : {"Xvfb", "openbox"}) {
            if (!OnPath(program)) {
                return std::string(program) + " is not installed (scripts/setup installs it)";
            }
        }
        const std::string display = StartServer();
        if (display.empty()) return "start failed: Xvfb gave no display";
        setenv("DISPLAY", display.c_str(), 1);
        m_windowManager = Spawn({"openbox", "--sm-disable"}, nullptr);
        if (m_windowManager <= 0) return "start failed: openbox did not start";
        // openbox announces itself on the root window once it manages it.
        for (int i = 0; i < 100 && !Managed(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return {};
    }

  private:
    std::string StartServer() {
        int pipe_ends[2];
        if (pipe(pipe_ends) != 0) return {};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
        m_server = Spawn({"Xvfb", "-displayfd", std::to_string(pipe_ends[1]), "-screen", "0",
                          "1280x1024x24", "-dpi", "96", "-nolisten", "tcp"},
                         &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(pipe_ends[1]);
        std::string number;
        pollfd wait{pipe_ends[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 10000) > 0 && read(pipe_ends[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(pipe_ends[0]);
        return number.empty() ? std::string() : ":" + number;
    }

    static bool Managed() {
        return std::system(
                   "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null"
                   " | grep -q 'window id'") == 0;
    }

    pid_t m_server = -1;
    pid_t m_windowManager = -1;
};

// Skips every test, with the reason, when the desktop could not be had.
class SkipWithoutDesktop : public testing::Environment {
  public:
    explicit SkipWithoutDesktop(std::string reason) : m_reason(std::move(reason)) {}
    void SetUp() override { GTEST_SKIP() << "no window manager to test under: " << m_reason; }

  private:
    std::string m_reason;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    DesktopServer desktop;
    std::string missing;
    if (GTEST_FLAG_GET(list_tests)) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        missing = desktop.Start();
        setenv("QT_QPA_PLATFORM", missing.empty() ? "xcb" : "offscreen", 1);
    }
    // Only missing programs skip; a desktop that fails to start fails.
    if (missing.rfind("start failed", 0) == 0) {
        std::fprintf(stderr, "display_wm_tests: %s\n", missing.c_str());
        return 1;
    }
    if (!missing.empty()) testing::AddGlobalTestEnvironment(new SkipWithoutDesktop(missing));
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
