// The options dialog: what it shows from memory, and the round trip of its
// values to the settings file when confirmed.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dec_opt_dialog.h"
#include "terminal_pane.h"
#include "three_state_box.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

template <typename T>
T* Child(QDialog& dialog, const char* name) {
    T* child = dialog.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class OptionsDialogTest : public WindowTest {};

// The dialog's own controls: three-state boxes cycle and their captions
// follow, the keyword buttons step, the wait time comes from the list.
TEST_F(OptionsDialogTest, ThreeStateBoxesKeywordsAndWaitTime) {
    TerminalSettings settings;
    settings.SMesgBlocs = 2;
    settings.WaitTime = 0;
    DecOptDialog dialog(settings, Store(), m_box, {});
    auto* font = Child<ThreeStateBox>(dialog, "FontSiz0");
    EXPECT_EQ(font->text().toStdString(), "Small fonts");
    for (const char* caption : {"Medium fonts", "Large fonts", "Small fonts"}) {
        QTest::mouseClick(font, Qt::LeftButton);
        EXPECT_EQ(font->text().toStdString(), caption);
    }
    auto* blocs = Child<ThreeStateBox>(dialog, "MesgBlocs0");
    EXPECT_EQ(blocs->Value(), 2);
    QTest::mouseClick(blocs, Qt::LeftButton);
    EXPECT_EQ(blocs->Value(), 0);
    auto* keywords = Child<QCheckBox>(dialog, "Keywords");
    EXPECT_EQ(keywords->text().toStdString(), "&Keywords (Defaults OFF)");
    keywords->click();
    EXPECT_EQ(keywords->text().toStdString(), "&Keywords (Defaults ON)");
    auto* mod = Child<QPushButton>(dialog, "Mods3");
    EXPECT_EQ(mod->text().toStdString(), "P");
    mod->click();
    EXPECT_EQ(mod->text().toStdString(), "S");
    Child<QCheckBox>(dialog, "WaitTimO")->click();
    Child<QComboBox>(dialog, "WaitTimV")->setCurrentText("45");
    Child<QPushButton>(dialog, "OK")->click();
    EXPECT_EQ(dialog.Settings().WaitTime, 45);
    EXPECT_EQ(Store().ReadInt("WaitTime", -1), 45);
}

TEST_F(OptionsDialogTest, ConfirmedValuesReachTheSettingsFile) {
    auto window = StartOnPty();
    onDialog = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Options");
        Child<QCheckBox>(dialog, "AllowSend")->click();
        Child<QCheckBox>(dialog, "Timestamp0")->click();
        Child<QCheckBox>(dialog, "WaitTimO")->click();  // on by default (10 s): now off
        QTest::mouseClick(Child<ThreeStateBox>(dialog, "FontSiz0"), Qt::LeftButton);
        QTest::mouseClick(Child<ThreeStateBox>(dialog, "FontSiz0"), Qt::LeftButton);
        QTest::mouseClick(Child<ThreeStateBox>(dialog, "MesgBlocs0"), Qt::LeftButton);
        Child<QLineEdit>(dialog, "ApplNames")->setText("Pad");
        Child<QLineEdit>(dialog, "Keys0")->setText("zc");
        Child<QLineEdit>(dialog, "Keys1")->setText("test");
        Child<QPushButton>(dialog, "Mods1")->click();
        Child<QPushButton>(dialog, "Mods1")->click();
        Child<QPushButton>(dialog, "OK")->click();
        return dialog.result();
    };
    window->Action(Command::Properties)->trigger();
    EXPECT_TRUE(m_box.Saw("Part of the basic keyword \"ZCZC\""));
    const SettingsContext store = Store(Context());
    EXPECT_EQ(store.ReadInt("AllowSend", -1), 1);
    EXPECT_EQ(store.ReadInt("STimeStamp", -1), 1);
    EXPECT_EQ(store.ReadInt("WaitTime", -1), 0);
    EXPECT_EQ(store.ReadText("FontSize"), "18.75");
    EXPECT_EQ(store.ReadInt("SMesgBlocs", -1), 1);
    EXPECT_EQ(store.ReadText("ApplNames"), "Pad");
    EXPECT_EQ(store.ReadText("Keyword0"), "");
    EXPECT_EQ(store.ReadText("Keyword1"), "TEST");
    EXPECT_EQ(store.ReadInt("Keymode1", -1), 2);
    EXPECT_EQ(store.ReadInt("PrinterId", -1), 0);
    EXPECT_EQ(store.ReadInt("ConvertEOL", -1), 0);
    // In memory at once: the send box shows, the pane takes the font size.
    EXPECT_TRUE(window->SendBox()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->Settings().STimeStamp);
    EXPECT_DOUBLE_EQ(window->Pane()->FontSize(), 18.75);

    // Opened again, the dialog shows what was confirmed.
    onDialog = [](QDialog& dialog) {
        EXPECT_TRUE(Child<QCheckBox>(dialog, "AllowSend")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(dialog, "WaitTimO")->isChecked());
        EXPECT_EQ(Child<ThreeStateBox>(dialog, "FontSiz0")->text().toStdString(), "Large fonts");
        EXPECT_EQ(Child<QLineEdit>(dialog, "Keys1")->text().toStdString(), "TEST");
        EXPECT_EQ(Child<QPushButton>(dialog, "Mods1")->text().toStdString(), "W");
        return int(QDialog::Rejected);
    };
    window->Action(Command::Properties)->trigger();
}

TEST_F(OptionsDialogTest, CancelChangesNothing) {
    auto window = StartOnPty();
    onDialog = [](QDialog& dialog) {
        Child<QCheckBox>(dialog, "AllowSend")->click();
        Child<QPushButton>(dialog, "Cancel")->click();
        return dialog.result();
    };
    window->Action(Command::Properties)->trigger();
    EXPECT_FALSE(window->Settings().AllowSend);
    EXPECT_EQ(Store(Context()).ReadInt("AllowSend", -1), -1);
}

}  // namespace
}  // namespace dovrel::test
