// dovrel: the terminal program. Builds the main window, runs its start-up
// and the event loop; SIGTERM and SIGINT end it through the normal shutdown.
#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "quarnel.h"
#include "signal_watch.h"

namespace {

// The program ends with its main window, also while the weather decoder
// window or the station map is still open.
class QuitWithWindow : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    // The usage also goes to standard output, where a shell user looks for
    // it, and is all there is without a display.
    const bool usage =
        dovrel::AsksForHelp(args) || dovrel::ParseCommandLine(dovrel::JoinArguments(args)).Action ==
                                         dovrel::CommandAction::Usage;
    if (usage) {
        std::cout << dovrel::UsageColumns(
                         dovrel::UsageText(dovrel::SettingsStore::ForUser().Root().string()))
                  << std::endl;
        if (!HasDisplay()) return 0;
    }

    QApplication app(argc, argv);
    app.setApplicationName("dovrel");
    dovrel::SignalWatch terminationSignals;

    dovrel::Quarnel window;
    QObject::connect(&terminationSignals, &dovrel::SignalWatch::Terminate, &window,
                     [&window] { window.Terminate(); });
    if (!window.Start(args)) return 0;
    window.show();
    QuitWithWindow quitWithWindow;
    window.installEventFilter(&quitWithWindow);
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
