// Windows with the real weather display control, for the weather tests: the
// decoder writes its logs into the current folder, here the test's working
// folder.
#pragma once

#include <QTextEdit>
#include <filesystem>

#include "ui_fixture.h"

namespace dovrel::test {

inline QWidget* TopLevel(const QString& titleStart) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle().startsWith(titleStart) && !widget->isHidden()) return widget;
    return nullptr;
}

// The text of the visible decoder window, empty while there is none.
inline QString DecoderText() {
    QWidget* window = TopLevel("Weather Decoder");
    QTextEdit* pane = window ? window->findChild<QTextEdit*>() : nullptr;
    return pane ? pane->toPlainText() : QString();
}

class WeatherWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        withWeather = true;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_work.path().toStdString());
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        WindowTest::TearDown();
    }
    // Line in ASCII8, so that tests can write plain text.
    std::unique_ptr<Quarnel> StartAscii(bool autoSynop) {
        Store(Context()).WriteInt("Data", 8);
        Store(Context()).WriteInt("AutoSynop", autoSynop ? 1 : 0);
        auto window = StartOnPty();
        EXPECT_TRUE(window->WeatherAvailable());
        return window;
    }
    std::filesystem::path m_previous;
};

}  // namespace dovrel::test
