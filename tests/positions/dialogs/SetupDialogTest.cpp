#include "positions/dialogs/CSetupDlg.h"

#include "base/AppConfig.h"
#include "base/Settings.h"
#include "platform/DialogBuilder.h"
#include "platform/IpAddressEdit.h"
#include "tests/platform/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Keeps what would be written, in order, instead of writing it.
class RecordingStore : public SettingsStore {
public:
    void write(const QString& name, const QString& text) override { writes.append({name, text}); }
    QList<std::pair<QString, QString>> writes;
};

AppConfig storedConfig()
{
    AppConfig config;
    config.portName = u"COM2"_s;
    config.baudRate = 9600;
    config.cameraAddress = u"127.0.0.1"_s;
    for (int i = 0; i < AppConfig::kCommandCount; ++i)
        config.commands.at(static_cast<size_t>(i)) = u"cgi/cmd%1?a=1,b=2"_s.arg(i + 1);
    config.dwellMs = 1000;
    config.cyclePauseSec = 10;
    config.zeroDriveExtraSec = 5;
    config.referenceDriveSec = 60;
    return config;
}

void retype(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// On the box itself: the control is wider than its text, and only the text answers a click.
void clickBox(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
}

QStringList entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

class SetupDialogTest : public ::testing::Test {
protected:
    // Opens the dialog on `config`, lets `action` work it as the operator would, returns the result.
    int run(const ScriptedDialogs::Action& action)
    {
        ScriptedDialogs dialogs;
        dialogs.expect(u"CSetupDlg"_s, action);
        CSetupDlg dialog(config, store, devices, nullptr);
        return RunModal(dialog);
    }

    AppConfig config = storedConfig();
    RecordingStore store;
    QStringList devices{u"/dev/ttyUSB0"_s};
};

QLineEdit* edit(const QDialog& dialog, int id)
{
    return Control<QLineEdit>(dialog, id);
}

QComboBox* list(const QDialog& dialog, int id)
{
    return Control<QComboBox>(dialog, id);
}

} // namespace

TEST_F(SetupDialogTest, ShowsItsTemplateInTheLanguageItOpensIn)
{
    struct Case {
        int language;
        QString title, portGroup, zeroDriveLabel, userLabel, autoStart, cancel, none;
    } const cases[] = {
        {0, u"Einstellungen"_s, u"Anschluss"_s, u"Additivzeit bei Nullfahrt [Sekunden)"_s, u"User"_s,
         u"Automatik nach Programmstart"_s, u"Abbrechen"_s, u"Kein"_s},
        {1, u"Settings"_s, u"Port"_s, u"Additional time at drive to null position [sec)"_s, u"Userclick"_s,
         u"Automatic after programstart"_s, u"Cancel"_s, u"None"_s},
    };
    for (const Case& c : cases) {
        config.language = c.language;
        CSetupDlg dialog(config, store, devices, nullptr);
        EXPECT_EQ(dialog.windowTitle(), c.title);
        EXPECT_EQ(dialog.size(), QSize(DialogUnitsToPixelsX(323), DialogUnitsToPixelsY(327)));
        EXPECT_EQ(ControlText(dialog, 51), c.portGroup);
        EXPECT_EQ(ControlText(dialog, 62), c.zeroDriveLabel);
        EXPECT_EQ(ControlText(dialog, 77), c.userLabel);
        EXPECT_EQ(ControlText(dialog, 702), c.autoStart);
        EXPECT_EQ(ControlText(dialog, 2), c.cancel);
        EXPECT_EQ(ControlText(dialog, 1), u"&OK"_s);
        EXPECT_EQ(entries(list(dialog, 200)),
                  (QStringList{c.none, u"COM1"_s, u"COM2"_s, u"COM3"_s, u"COM4"_s, u"COM5"_s, u"COM6"_s, u"COM7"_s,
                               u"COM8"_s, u"COM9"_s, u"/dev/ttyUSB0"_s}));
        EXPECT_EQ(entries(list(dialog, 201)),
                  (QStringList{u"110"_s, u"300"_s, u"600"_s, u"1200"_s, u"2400"_s, u"4800"_s, u"9600"_s, u"14400"_s,
                               u"38400"_s, u"56000"_s, u"57600"_s, u"115200"_s, u"128000"_s, u"256000"_s}));
    }
    CSetupDlg dialog(config, store, devices, nullptr);
    for (int id = 600; id <= 603; ++id)
        EXPECT_EQ(edit(dialog, id)->maxLength(), 19);
    for (int id = 500; id <= 507; ++id)
        EXPECT_EQ(edit(dialog, id)->maxLength(), 255);
    const auto* unused = Control<QCheckBox>(dialog, 703);
    EXPECT_FALSE(unused->isEnabled());
    EXPECT_TRUE(unused->text().isEmpty());
    EXPECT_NE(Control<IpAddressEdit>(dialog, 250), nullptr);
    QList<int> flags;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->property("pictureId").isValid())
            flags.append(label->property("pictureId").toInt());
    EXPECT_EQ(flags, (QList<int>{161, 162}));
    EXPECT_TRUE(store.writes.isEmpty());
}

// Every value shows as the fill rules say, and OK without a change writes all thirteen values
// in their order, with what the dialog showed.
TEST_F(SetupDialogTest, OkWithoutAChangeWritesAllThirteenValuesAsShown)
{
    struct Case {
        QString port;
        int baud;
        QString address;
        int portIndex;
        int baudIndex;
        IpAddressEdit::Octets octets;
        QString comm, commAdr;
    } const cases[] = {
        {u"com3"_s, 9600, u"127.0.0.1"_s, 3, 6, {127, 0, 0, 1}, u"COM3,9600"_s, u"127.0.0.1"_s},
        {u"COM12"_s, 19200, u"127.0.300"_s, 0, -1, {127, 0, 44, 0}, u"None,19200"_s, u"127.0.44.0"_s},
        {u"Kein"_s, 115200, u"..127..1."_s, 0, 11, {127, 1, 0, 0}, u"None,115200"_s, u"127.1.0.0"_s},
        {u"/dev/ttyUSB7"_s, 0, u""_s, 11, -1, {0, 0, 0, 0}, u"/dev/ttyUSB7,0"_s, u"0.0.0.0"_s},
    };
    for (const Case& c : cases) {
        config = storedConfig();
        config.language = 1;
        config.portName = c.port;
        config.baudRate = c.baud;
        config.cameraAddress = c.address;
        config.cyclePauseSec = -3;
        config.driveYPositions = 1;
        config.autoStartPatrol = 1;
        store.writes.clear();
        const int result = run([&](QDialog& dialog) {
            EXPECT_EQ(list(dialog, 200)->currentIndex(), c.portIndex);
            EXPECT_EQ(list(dialog, 201)->currentIndex(), c.baudIndex);
            EXPECT_EQ(Control<IpAddressEdit>(dialog, 250)->address(), c.octets);
            EXPECT_EQ(edit(dialog, 601)->text(), u"-3"_s);
            EXPECT_TRUE(Control<QRadioButton>(dialog, 101)->isChecked());
            EXPECT_FALSE(Control<QRadioButton>(dialog, 100)->isChecked());
            EXPECT_TRUE(Control<QCheckBox>(dialog, 702)->isChecked());
            EXPECT_FALSE(Control<QCheckBox>(dialog, 701)->isChecked());
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        EXPECT_EQ(result, 0);
        QList<std::pair<QString, QString>> expected{
            {u"Language"_s, u"1"_s}, {u"Comm"_s, c.comm}, {u"CommAdr"_s, c.commAdr}};
        for (int i = 1; i <= AppConfig::kCommandCount; ++i)
            expected.append({u"Cmd%1"_s.arg(i), u"cgi/cmd%1?a=1,b=2"_s.arg(i)});
        expected.append({u"Times"_s, u"1000,-3,5,60"_s});
        expected.append({u"Options"_s, u"1,0,1"_s});
        EXPECT_EQ(store.writes, expected) << c.port.toStdString();
        EXPECT_EQ(config.baudRate, c.baud) << "a rate missing from the list is kept";
    }
}

TEST_F(SetupDialogTest, OkTakesWhatTheOperatorChose)
{
    const int result = run([](QDialog& dialog) {
        auto* english = Control<QRadioButton>(dialog, 101);
        clickBox(english);
        clickBox(english); // a plain radio button stays checked
        EXPECT_TRUE(english->isChecked());
        EXPECT_FALSE(Control<QRadioButton>(dialog, 100)->isChecked());
        EXPECT_EQ(dialog.windowTitle(), u"Einstellungen"_s) << "the dialog keeps its language to the end";
        list(dialog, 200)->setCurrentIndex(10);
        list(dialog, 201)->setCurrentIndex(8);
        retype(Control<IpAddressEdit>(dialog, 250)->field(3), u"9"_s);
        retype(edit(dialog, 500), u"stop?x=1"_s);
        retype(edit(dialog, 600), {});
        retype(edit(dialog, 601), u"12x-34"_s);
        retype(edit(dialog, 603), QString(25, u'7'));
        clickBox(Control<QCheckBox>(dialog, 701));
        Control<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(config.language, 1);
    EXPECT_EQ(config.portName, u"/dev/ttyUSB0"_s);
    EXPECT_EQ(config.baudRate, 38400);
    EXPECT_EQ(config.cameraAddress, u"127.0.0.9"_s);
    EXPECT_EQ(config.command(1), u"stop?x=1"_s);
    EXPECT_EQ(config.dwellMs, 0) << "an empty time edit stores 0";
    EXPECT_EQ(config.cyclePauseSec, 1234) << "only digits can be typed";
    EXPECT_EQ(config.referenceDriveSec, INT32_MAX) << "19 digits, beyond 32 bits";
    EXPECT_EQ(config.soundSignals, 1);
    EXPECT_EQ(store.writes.size(), 13);
    EXPECT_EQ(store.writes.at(1).second, u"/dev/ttyUSB0,38400"_s);
}

TEST_F(SetupDialogTest, CancelEscapeAndTheCloseBoxChangeAndWriteNothing)
{
    const std::function<void(QDialog&)> endings[] = {
        [](QDialog& dialog) { Control<QPushButton>(dialog, 2)->click(); },
        [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](QDialog& dialog) { dialog.close(); },
    };
    for (const auto& end : endings) {
        const int result = run([&](QDialog& dialog) {
            clickBox(Control<QRadioButton>(dialog, 101));
            list(dialog, 200)->setCurrentIndex(0);
            retype(edit(dialog, 600), u"5"_s);
            retype(edit(dialog, 506), u"other.jpg"_s);
            end(dialog);
        });
        EXPECT_EQ(result, -1);
        EXPECT_EQ(config.language, 0);
        EXPECT_EQ(config.portName, u"COM2"_s);
        EXPECT_EQ(config.dwellMs, 1000);
        EXPECT_EQ(config.command(7), u"cgi/cmd7?a=1,b=2"_s);
        EXPECT_TRUE(store.writes.isEmpty());
    }
}
