#include "positions/BrowserCommand.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BrowserCommand, EachEntryIsReadAsTheShellWouldAndTheAddressIsOneArgumentOfItsOwn)
{
    const QString url = u"https://korvath.example.com/a b;'\""_s;
    const struct {
        QString command;
        QString program;
        QStringList arguments;
    } cases[] = {
        // A Windows ".exe", quoted and then options or quoted arguments: the program alone.
        {uR"("C:\Program Files\Web\browser.exe" -nohome)"_s, uR"(C:\Program Files\Web\browser.exe)"_s, {url}},
        {uR"("C:\Web\browser.exe" -osint -url "%1")"_s, uR"(C:\Web\browser.exe)"_s, {url}},
        // No quotes: the text before the first blank after the last backslash.
        {uR"(C:\Web Tools\browser.exe -nohome %1)"_s, uR"(C:\Web Tools\browser.exe)"_s, {url}},
        // Anything else is split by the shell's quoting: "%s" stands anywhere, else the address comes last.
        {uR"(\browser -a)"_s, u"browser"_s, {u"-a"_s, url}},
        {u"/usr/bin/firefox --new-window"_s, u"/usr/bin/firefox"_s, {u"--new-window"_s, url}},
        {u"firefox --new-window \"%s\""_s, u"firefox"_s, {u"--new-window"_s, url}},
        {u"firefox '%s'"_s, u"firefox"_s, {url}},
        {uR"(/opt/My\ Browser/browser --app=%s)"_s, u"/opt/My Browser/browser"_s, {u"--app="_s + url}},
        {uR"("a \"b\" \c" 100%% %%s)"_s, uR"(a "b" \c)"_s, {u"100%"_s, u"%s"_s, url}},
        // A list: the first entry here, the others tried after it; quoted colons stay.
        {u"'/opt/a:b/web' %s::firefox"_s, u"/opt/a:b/web"_s, {url}},
        // An entry whose quote is never closed is left out up to the next colon.
        {u"fb1 \"oops %s:fb2 %s"_s, u"fb2"_s, {url}},
        {u"chromium --app %s --incognito"_s, u"chromium"_s, {u"--app"_s, url, u"--incognito"_s}},
        // Shell syntax is never run: it reaches the program as plain arguments.
        {u"browser; rm -rf ~ $(id)"_s, u"browser;"_s, {u"rm"_s, u"-rf"_s, u"~"_s, u"$(id)"_s, url}},
        // No program, or a quote never closed: nothing to start.
        {u"   "_s, u""_s, {}},
        {uR"("" -a)"_s, u""_s, {}},
        {uR"(browser" -a)"_s, u""_s, {}},
    };
    for (const auto& c : cases) {
        const BrowserLaunch launch = BrowserLaunchesFor(c.command, url).value(0);
        EXPECT_EQ(launch.program, c.program) << c.command.toStdString();
        EXPECT_EQ(launch.arguments, c.arguments) << c.command.toStdString();
    }
    // The entries after the first are tried in their order, also after one that cannot be read.
    QStringList programs;
    for (const BrowserLaunch& launch : BrowserLaunchesFor(u"fb1 'it''s:fb2::fb3 %s:chromium --app=%s"_s, url))
        programs.append(launch.program);
    EXPECT_EQ(programs, (QStringList{u"fb2"_s, u"fb3"_s, u"chromium"_s}));
}
