#include "positions/BrowserCommand.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUrl = u"https://www.korvath.example.com/"_s;

struct BrowserCase {
    QString command;
    QString program;
    QStringList arguments;
};

} // namespace

TEST(BrowserCommand, TheProgramIsCutOutAndTheAddressIsOneArgumentOfItsOwn)
{
    const QList<BrowserCase> cases{
        // Quote, path, quote, options: the path between the quotes, options dropped.
        {uR"("C:\Program Files\Web\browser.exe" -nohome)"_s, uR"(C:\Program Files\Web\browser.exe)"_s, {kUrl}},
        // A quoted program followed by quoted arguments: the quoted program.
        {uR"("C:\Program Files\Web\browser.exe" -osint -url "%1")"_s, uR"(C:\Program Files\Web\browser.exe)"_s, {kUrl}},
        // One quote only: the command as it is, split by the shell's rules.
        {uR"(browser" -a)"_s, u"browser -a"_s, {kUrl}},
        // No quotes: the text before the first blank after the last backslash.
        {uR"(C:\Web\browser.exe -nohome %1)"_s, uR"(C:\Web\browser.exe)"_s, {kUrl}},
        {uR"(C:\Web Tools\browser.exe -nohome)"_s, uR"(C:\Web Tools\browser.exe)"_s, {kUrl}},
        // A backslash first or no blank after the last one: the command as it is.
        {uR"(\browser -a)"_s, uR"(\browser)"_s, {u"-a"_s, kUrl}},
        {uR"(C:\Web\browser.exe)"_s, uR"(C:\Web\browser.exe)"_s, {kUrl}},
        // The commands of this desktop: split without a shell; "%s" stands for the address.
        {u"firefox"_s, u"firefox"_s, {kUrl}},
        {u"/usr/bin/firefox --new-window"_s, u"/usr/bin/firefox"_s, {u"--new-window"_s, kUrl}},
        {u"chromium --app %s --incognito"_s, u"chromium"_s, {u"--app"_s, kUrl, u"--incognito"_s}},
        // Shell syntax is never run: it reaches the program as plain arguments.
        {u"browser; rm -rf ~ $(id)"_s, u"browser;"_s, {u"rm"_s, u"-rf"_s, u"~"_s, u"$(id)"_s, kUrl}},
        // Nothing to start.
        {u""_s, u""_s, {}},
        {u"   "_s, u""_s, {}},
        {uR"("" -a)"_s, u""_s, {kUrl}},
    };
    for (const BrowserCase& c : cases) {
        const BrowserLaunch launch = BrowserLaunchFor(c.command, kUrl);
        EXPECT_EQ(launch.program, c.program) << c.command.toStdString();
        EXPECT_EQ(launch.arguments, c.arguments) << c.command.toStdString();
    }
}

TEST(BrowserCommand, AnAddressWithShellCharactersStaysOneArgument)
{
    const QString url = u"https://korvath.example.com/a b;c'd\"e"_s;
    const BrowserLaunch launch = BrowserLaunchFor(u"browser %s"_s, url);
    EXPECT_EQ(launch.arguments, QStringList{url});
}
