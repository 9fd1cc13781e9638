#include "positions/BrowserCommand.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BrowserCommand, TheProgramIsCutOutAndTheAddressIsOneArgumentOfItsOwn)
{
    const QString url = u"https://korvath.example.com/a b;'\""_s;
    const struct {
        QString command;
        QString program;
        QStringList arguments;
    } cases[] = {
        // Quoted program, then options or quoted arguments: the program alone.
        {uR"("C:\Program Files\Web\browser.exe" -nohome)"_s, uR"(C:\Program Files\Web\browser.exe)"_s, {url}},
        {uR"("C:\Web\browser.exe" -osint -url "%1")"_s, uR"(C:\Web\browser.exe)"_s, {url}},
        // No quotes: the text before the first blank after the last backslash.
        {uR"(C:\Web Tools\browser.exe -nohome %1)"_s, uR"(C:\Web Tools\browser.exe)"_s, {url}},
        // One quote, a leading backslash, no blank after it: the command as it is, split.
        {uR"(browser" -a)"_s, u"browser -a"_s, {url}},
        {uR"(\browser -a)"_s, uR"(\browser)"_s, {u"-a"_s, url}},
        {u"/usr/bin/firefox --new-window"_s, u"/usr/bin/firefox"_s, {u"--new-window"_s, url}},
        {u"chromium --app %s --incognito"_s, u"chromium"_s, {u"--app"_s, url, u"--incognito"_s}},
        // Shell syntax is never run: it reaches the program as plain arguments.
        {u"browser; rm -rf ~ $(id)"_s, u"browser;"_s, {u"rm"_s, u"-rf"_s, u"~"_s, u"$(id)"_s, url}},
        {u"   "_s, u""_s, {}},
        {uR"("" -a)"_s, u""_s, {url}},
    };
    for (const auto& c : cases) {
        const BrowserLaunch launch = BrowserLaunchFor(c.command, url);
        EXPECT_EQ(launch.program, c.program) << c.command.toStdString();
        EXPECT_EQ(launch.arguments, c.arguments) << c.command.toStdString();
    }
}
