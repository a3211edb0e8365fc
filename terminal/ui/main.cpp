// dovrel: the terminal program. Builds the main window, runs its start-up
// and the event loop; SIGTERM and SIGINT end it through the normal shutdown.
#include <QApplication>

#include <string>
#include <vector>

#include "quarnel.h"
#include "signal_watch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("dovrel");
    dovrel::SignalWatch terminationSignals;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    dovrel::Quarnel window;
    QObject::connect(&terminationSignals, &dovrel::SignalWatch::Terminate, &window, [&window] { window.close(); });
    if (!window.Start(args)) return 0;
    window.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
