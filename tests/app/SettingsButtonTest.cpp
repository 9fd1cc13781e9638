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

namespace {

constexpr int kEnglishRadio = 101;
constexpr int kBaudList = 201;
constexpr int kPortList = 200;

void chooseEnglish(QDialog& dialog)
{
    auto* english = Control<QRadioButton>(dialog, kEnglishRadio);
    QTest::mouseClick(english, Qt::LeftButton, {}, QPoint(5, english->height() / 2));
}

speed_t lineSpeed(const PseudoTerminal& line)
{
    const termios settings = line.lineSettings();
    return cfgetospeed(&settings);
}

} // namespace

// The head hangs on a pseudo-terminal; the settings dialog's OK switches the window to English at
// once and reopens the line at the new rate, while Cancel leaves everything as it was.
TEST_F(AppTest, SettingsOkReCaptionsTheWindowAndReopensThePortCancelChangesNothing)
{
    PseudoTerminal line;
    ASSERT_FALSE(line.devicePath().isEmpty());
    writeSetting("Language", u"0"_s);
    writeSetting("Comm", line.devicePath() + u",9600"_s);
    CAppDlg& window = start();
    auto* settings = Control<QPushButton>(window, AppDlgId::Settings);
    EXPECT_EQ(lineSpeed(line), static_cast<speed_t>(B9600));

    dialogs.expect(u"CSetupDlg"_s, [](QDialog& dialog) {
        chooseEnglish(dialog);
        Control<QPushButton>(dialog, 2)->click();
    });
    settings->click();
    EXPECT_EQ(ControlText(window, AppDlgId::Settings), u"Einstellungen"_s);
    EXPECT_EQ(setting("Language"), u"0"_s);

    dialogs.expect(u"CSetupDlg"_s, [&](QDialog& dialog) {
        // The pseudo-terminal is no adapter the list finds; the stored name stays chosen.
        EXPECT_EQ(Control<QComboBox>(dialog, kPortList)->currentText(), line.devicePath());
        chooseEnglish(dialog);
        Control<QComboBox>(dialog, kBaudList)->setCurrentText(u"38400"_s);
        Control<QPushButton>(dialog, 1)->click();
    });
    settings->click();
    EXPECT_EQ(dialogs.shownCount(), 2);
    EXPECT_EQ(ControlText(window, AppDlgId::Settings), u"Settings"_s);
    EXPECT_EQ(ControlText(window, AppDlgId::Exit), u"Exit"_s);
    EXPECT_EQ(setting("Language"), u"1"_s);
    EXPECT_EQ(setting("Comm"), line.devicePath() + u",38400"_s);
    EXPECT_EQ(lineSpeed(line), static_cast<speed_t>(B38400));

    const QPoint up = FindControl(window, AppDlgId::ArrowUp)->geometry().center();
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up);
    EXPECT_EQ(line.read(2, std::chrono::milliseconds(2000)), "85");
}
