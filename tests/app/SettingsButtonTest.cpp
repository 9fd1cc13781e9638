#include "tests/app/AppTestFixture.h"

#include "app/AppDlgTemplate.h"
#include "platform/DialogBuilder.h"
#include "tests/support/PseudoTerminal.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The head hangs on a pseudo-terminal; the settings dialog's OK switches the window to English at
// once and reopens the line at the new rate, while Cancel leaves everything as it was.
TEST_F(AppTest, SettingsOkReCaptionsTheWindowAndReopensThePortCancelChangesNothing)
{
    PseudoTerminal line;
    const auto speed = [&line] {
        const termios settings = line.lineSettings();
        return cfgetospeed(&settings);
    };
    writeSetting("Language", u"0"_s);
    writeSetting("Comm", line.devicePath() + u",9600"_s);
    CAppDlg& window = start();
    const auto chooseEnglishAndEnd = [](int button) {
        return [button](QDialog& dialog) {
            Control<QRadioButton>(dialog, 101)->click();
            Control<QComboBox>(dialog, 201)->setCurrentText(u"38400"_s);
            Control<QPushButton>(dialog, button)->click();
        };
    };
    dialogs.expect(u"CSetupDlg"_s, chooseEnglishAndEnd(2));
    dialogs.expect(u"CSetupDlg"_s, chooseEnglishAndEnd(1));

    Control<QPushButton>(window, AppDlgId::Settings)->click();
    EXPECT_EQ(ControlText(window, AppDlgId::Settings), u"Einstellungen"_s);
    EXPECT_EQ(setting("Language"), u"0"_s);
    EXPECT_EQ(speed(), static_cast<speed_t>(B9600));

    Control<QPushButton>(window, AppDlgId::Settings)->click();
    EXPECT_EQ(ControlText(window, AppDlgId::Exit), u"Exit"_s);
    // The pseudo-terminal is no adapter the list finds; the stored name stayed chosen.
    EXPECT_EQ(setting("Comm"), line.devicePath() + u",38400"_s);
    EXPECT_EQ(speed(), static_cast<speed_t>(B38400));
    const QPoint up = FindControl(window, AppDlgId::ArrowUp)->geometry().center();
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up);
    // The stop every start sends first, then the click.
    EXPECT_EQ(line.read(3, std::chrono::milliseconds(2000)), "585");
}
