#include "positions/dialogs/CSetupDlg.h"

#include "base/AppConfig.h"
#include "base/Settings.h"
#include "platform/DialogBuilder.h"
#include "platform/IpAddressEdit.h"
#include "tests/platform/support/ScriptedDialogs.h"
#include "tests/support/ScriptedMessageBoxes.h"

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

// Keeps what would be written, in order, instead of writing it; or refuses it as a full disk would.
class RecordingStore : public SettingsStore {
public:
    bool store(const IniValues& values) override
    {
        for (const auto& [name, text] : values)
            writes.append(name + u'=' + text);
        return !full;
    }
    QStringList writes;
    bool full = false;
};

void retype(QLineEdit* field, const QString& text)
{
    field->clear();
    QTest::keyClicks(field, text);
}

// The edit on the line of the label that shows `caption`: the one an operator types into.
QLineEdit* editBeside(const QDialog& dialog, const QString& caption)
{
    int line = -1;
    for (const QLabel* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        line = label->text() == caption ? label->y() + label->fontMetrics().height() / 2 : line;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        if (edit->y() <= line && line < edit->y() + edit->height())
            return edit;
    return nullptr;
}

// On the box itself: the control is wider than its text, and only the text answers a click.
void clickBox(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
}

class SetupDialogTest : public ::testing::Test {
protected:
    SetupDialogTest()
    {
        config.portName = u"COM2"_s;
        config.baudRate = 9600;
        config.dwellMs = 1000;
        config.cyclePauseSec = -3;
        config.autoStartPatrol = 1;
        for (int i = 0; i < AppConfig::kCommandCount; ++i)
            config.commands.at(static_cast<size_t>(i)) = u"cmd%1?a=1,b"_s.arg(i + 1);
    }

    // Opens the dialog, lets `action` work it as the operator would, returns the dialog's result.
    int run(const ScriptedDialogs::Action& action)
    {
        ScriptedDialogs dialogs;
        dialogs.expect(u"CSetupDlg"_s, action);
        CSetupDlg dialog(
            config, store, {u"/dev/ttyUSB0"_s}, [](QWidget*) {}, nullptr);
        return RunModal(dialog);
    }

    AppConfig config;
    RecordingStore store;
};

} // namespace

TEST_F(SetupDialogTest, ShowsTheStoredValuesAndOkWithoutAChangeWritesAllThirteenInOrder)
{
    struct Case {
        int language;
        QString port, address, portShown, addressShown, comm;
        int baud, baudIndex;
    } const cases[] = {
        {0, u"com3"_s, u"127.0.0.1"_s, u"COM3"_s, u"127.0.0.1"_s, u"COM3,9600"_s, 9600, 6},
        {1, u"COM12"_s, u"127.0.300"_s, u"None"_s, u"127.0.44.0"_s, u"None,19200"_s, 19200, -1},
        {1, u"Kein"_s, u"..127..1."_s, u"None"_s, u"127.1.0.0"_s, u"None,256000"_s, 256000, 13},
        {0, u"/dev/ttyUSB7"_s, {}, u"/dev/ttyUSB7"_s, u"0.0.0.0"_s, u"/dev/ttyUSB7,0"_s, 0, -1},
    };
    for (const Case& c : cases) {
        config.language = c.language;
        config.portName = c.port;
        config.baudRate = c.baud;
        config.cameraAddress = c.address;
        store.writes.clear();
        EXPECT_EQ(run([&](QDialog& dialog) {
                      EXPECT_EQ(dialog.windowTitle(), c.language ? u"Settings"_s : u"Einstellungen"_s);
                      EXPECT_EQ(ControlText(dialog, 62), c.language
                                                             ? u"Additional time at drive to null position [sec)"_s
                                                             : u"Additivzeit bei Nullfahrt [Sekunden)"_s);
                      EXPECT_EQ(Control<QComboBox>(dialog, 200)->currentText(), c.portShown);
                      EXPECT_EQ(Control<QComboBox>(dialog, 201)->currentIndex(), c.baudIndex);
                      EXPECT_EQ(ControlText(dialog, 601), u"-3"_s);
                      EXPECT_TRUE(Control<QRadioButton>(dialog, 100 + c.language)->isChecked());
                      QTest::keyClick(&dialog, Qt::Key_Return);
                  }),
                  0);
        QStringList expected{u"Language=%1"_s.arg(c.language), u"Comm="_s + c.comm, u"CommAdr="_s + c.addressShown};
        for (int i = 1; i <= AppConfig::kCommandCount; ++i)
            expected.append(u"Cmd%1=cmd%1?a=1,b"_s.arg(i));
        expected << u"Times=1000,-3,0,0"_s << u"Options=0,0,1"_s;
        EXPECT_EQ(store.writes, expected) << c.port.toStdString();
    }
}

TEST_F(SetupDialogTest, OkTakesWhatTheOperatorChoseAndEveryOtherEndingNothing)
{
    const std::function<void(QDialog&)> endings[] = {
        [](QDialog& dialog) { Control<QPushButton>(dialog, 2)->click(); },
        [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](QDialog& dialog) { dialog.close(); },
        [this](QDialog& dialog) { // a full disk: the values still take effect for this run
            store.full = true;
            ScriptedMessageBoxes::expect(u"Cannot save the settings !"_s, MessageButtons::Ok, MessageIcon::Stop,
                                         MessageAnswer::Ok);
            Control<QPushButton>(dialog, 1)->click();
        },
    };
    for (const auto& end : endings) {
        const int result = run([&](QDialog& dialog) {
            auto* english = Control<QRadioButton>(dialog, 101);
            clickBox(english);
            clickBox(english); // a plain radio button stays checked
            EXPECT_FALSE(Control<QRadioButton>(dialog, 100)->isChecked());
            EXPECT_EQ(ControlText(dialog, 2), u"Abbrechen"_s) << "the dialog keeps its language to the end";
            EXPECT_FALSE(FindControl(dialog, 703)->isEnabled());
            Control<QComboBox>(dialog, 200)->setCurrentText(u"/dev/ttyUSB0"_s);
            Control<QComboBox>(dialog, 201)->setCurrentText(u"38400"_s);
            retype(Control<IpAddressEdit>(dialog, 250)->field(0), u"127"_s);
            retype(Control<IpAddressEdit>(dialog, 250)->field(3), u"9"_s);
            retype(Control<QLineEdit>(dialog, 500), QString(300, u'p'));
            retype(editBeside(dialog, u"Millisekunden verweilen bei Position"_s), {});
            retype(editBeside(dialog, u"Rechts"_s), u"right"_s);
            retype(Control<QLineEdit>(dialog, 601), u"12x-34"_s + QString(25, u'0'));
            clickBox(Control<QCheckBox>(dialog, 701));
            end(dialog);
        });
        if (result != 0) {
            EXPECT_EQ(result, -1);
            EXPECT_TRUE(store.writes.isEmpty());
            EXPECT_EQ(config.language + config.baudRate + config.dwellMs, 0 + 9600 + 1000);
            continue;
        }
        EXPECT_EQ(config.language, 1);
        EXPECT_EQ(config.portName, u"/dev/ttyUSB0"_s);
        EXPECT_EQ(config.baudRate, 38400);
        EXPECT_EQ(config.cameraAddress, u"127.0.0.9"_s);
        EXPECT_EQ(config.command(1), QString(255, u'p'));
        EXPECT_EQ(config.command(3), u"right"_s) << "what the Right arrow sends";
        EXPECT_EQ(config.dwellMs, 0) << "an empty time edit stores 0";
        EXPECT_EQ(config.cyclePauseSec, 2147483647) << "digits only, 19 of them, beyond 32 bits";
        EXPECT_EQ(config.soundSignals, 1);
        EXPECT_EQ(store.writes.size(), 13);
        EXPECT_EQ(store.writes.value(12), u"Options=0,1,1"_s) << "the box just ticked is stored too";
    }
}
