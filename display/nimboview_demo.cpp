// nimboview-demo: a small host for the weather display control. It creates
// the control through the component loader as the terminal does, feeds it
// the given files line by line, and shows the decoder window and the map.
//
// Usage: nimboview-demo [--node NAME] [--log] [--archive FILE] [--history STATION]
//                       [--screenshots DIR] [--map-size WxH] [--map-keys KEYS]
//                       [--map-click X,Y] FILE...
//   --archive FILE     keep the decoded reports in the archive FILE
//   --history STATION  then click the station's line in the decoder window,
//                      which opens its history window
//   --screenshots DIR  save DIR/decoder.png and DIR/map.png and quit
//   --map-size WxH     the map window's size for the picture
//   --map-keys KEYS    keys for the map before the picture: + - (zoom), f (fit to
//                      stations), 0 (start view), h j k l (pan left, down, up, right)
//   --map-click X,Y    a click on the map at that pixel before the picture
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "component_loader.h"
#include "weather_dialog_interface.h"

namespace {

struct DemoOptions {
    std::string node = "demo";
    bool log = false;
    std::string archive;
    QString history;
    QString screenshots;
    QSize mapSize;
    QString mapKeys;
    QPoint mapClick{-1, -1};
    QStringList files;
};

DemoOptions ParseArguments(const QStringList& arguments) {
    DemoOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--node" && i + 1 < arguments.size()) {
            options.node = arguments[++i].toStdString();
        } else if (argument == "--log") {
            options.log = true;
        } else if (argument == "--archive" && i + 1 < arguments.size()) {
            options.archive = arguments[++i].toStdString();
        } else if (argument == "--history" && i + 1 < arguments.size()) {
            options.history = arguments[++i];
        } else if (argument == "--screenshots" && i + 1 < arguments.size()) {
            options.screenshots = arguments[++i];
        } else if (argument == "--map-size" && i + 1 < arguments.size()) {
            const QStringList size = arguments[++i].split('x');
            if (size.size() == 2) options.mapSize = QSize(size[0].toInt(), size[1].toInt());
        } else if (argument == "--map-keys" && i + 1 < arguments.size()) {
            options.mapKeys = arguments[++i];
        } else if (argument == "--map-click" && i + 1 < arguments.size()) {
            const QStringList at = arguments[++i].split(',');
            if (at.size() == 2) options.mapClick = QPoint(at[0].toInt(), at[1].toInt());
        } else {
            options.files << argument;
        }
    }
    return options;
}

// Received text arrives in blocks; a line is a fair stand-in for one.
void FeedFile(nimbo::IWeatherDialog& dialog, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "nimboview-demo: cannot read %s\n", qPrintable(path));
        return;
    }
    while (!file.atEnd()) dialog.Parse(file.readLine().constData());
}

QWidget* TopLevelWindow(const QString& titleStart) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle().startsWith(titleStart)) return widget;
    }
    return nullptr;
}

// Opens the map through the decoder window's own "Show map" command.
void OpenMap(QWidget* decoderWindow) {
    for (QAction* action : decoderWindow->findChildren<QAction*>()) {
        if (action->toolTip() == "Show map") action->trigger();
    }
}

// Drives the map as a user would: its size, keys and a click.
void UseMap(QWidget* map, const DemoOptions& options) {
    if (options.mapSize.isValid()) map->resize(options.mapSize);
    QApplication::processEvents();
    QWidget* canvas = map;
    for (QWidget* child : map->findChildren<QWidget*>()) {
        if (child->inherits("nimboview::MapCanvas")) canvas = child;
    }
    for (const QChar c : options.mapKeys) {
        static const QString kKeys = QStringLiteral("+-f0hjkl");
        static const int kCodes[] = {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_F,  Qt::Key_0,
                                     Qt::Key_Left, Qt::Key_Down,  Qt::Key_Up, Qt::Key_Right};
        const int index = kKeys.indexOf(c);
        if (index < 0) continue;
        QKeyEvent press(QEvent::KeyPress, kCodes[index], Qt::NoModifier, QString(c));
        QApplication::sendEvent(canvas, &press);
    }
    if (options.mapClick.x() >= 0) {
        const QPointF at = options.mapClick;
        QMouseEvent press(QEvent::MouseButtonPress, at, canvas->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, canvas->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &press);
        QApplication::sendEvent(canvas, &release);
    }
    QApplication::processEvents();
}

// Clicks the station's "Station Identity:" line in the decoder window's text
// pane, as a user would.
void ClickStationLine(const QString& station) {
    QWidget* decoder = TopLevelWindow("Weather Decoder");
    if (decoder == nullptr) return;
    for (QTextEdit* pane : decoder->findChildren<QTextEdit*>()) {
        const QTextCursor found = pane->document()->find("Station Identity:  " + station);
        if (found.isNull()) continue;
        const QTextCursor line(found.block());
        pane->setTextCursor(line);
        pane->ensureCursorVisible();
        const QPointF at = pane->cursorRect(line).center();
        const QPointF global = pane->viewport()->mapToGlobal(at);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, global, Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(pane->viewport(), &event);
        }
        return;
    }
}

bool SaveScreenshots(const DemoOptions& options) {
    const QString& folder = options.screenshots;
    QWidget* decoder = TopLevelWindow("Weather Decoder");
    if (decoder == nullptr) return false;
    OpenMap(decoder);
    QWidget* map = TopLevelWindow("Weather Station Map");
    if (map != nullptr) {
        map->activateWindow();
        UseMap(map, options);
    }
    QDir().mkpath(folder);
    const bool decoderSaved = decoder->grab().save(folder + "/decoder.png");
    const bool mapSaved = map != nullptr && map->grab().save(folder + "/map.png");
    return decoderSaved && mapSaved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const DemoOptions options = ParseArguments(application.arguments());
    std::string error;
    auto dialog =
        nimbo::ComponentLoader::Create<nimbo::IWeatherDialog>(nimbo::kProgIdWeatherDialog, &error);
    if (!dialog) {
        std::fprintf(stderr, "nimboview-demo: %s\n", error.c_str());
        return 1;
    }
    std::int32_t status = 0;
    dialog->Create(0, &status);
    dialog->put_NodeName(options.node);
    dialog->put_LogStart(options.log ? -1 : 0);
    dialog->put_DecoderRelax(-1);
    if (!options.archive.empty() && nimbo::Failed(dialog->put_ArchiveFile(options.archive))) {
        return 1;
    }
    dialog->put_Show(-1);
    for (const QString& path : options.files) FeedFile(*dialog, path);
    if (!options.history.isEmpty()) {
        QTimer::singleShot(300, [&options] { ClickStationLine(options.history); });
    }
    if (!options.screenshots.isEmpty()) {
        QTimer::singleShot(300, [&] {
            const bool saved = SaveScreenshots(options);
            application.exit(saved ? 0 : 1);
        });
    }
    const int result = application.exec();
    dialog->Destroy(0);
    return result;
}
