#include "positions/BrowserCommand.h"

#include <QProcess>

using namespace Qt::StringLiterals;

QString BrowserProgram(const QString& command)
{
    const QChar quote = u'"';
    const qsizetype firstQuote = command.indexOf(quote);
    if (firstQuote >= 0) {
        const qsizetype secondQuote = command.indexOf(quote, firstQuote + 1);
        if (secondQuote < 0)
            return command;
        return command.mid(firstQuote + 1, secondQuote - firstQuote - 1);
    }
    const qsizetype lastBackslash = command.lastIndexOf(u'\\');
    if (lastBackslash <= 0)
        return command;
    const qsizetype blank = command.indexOf(u' ', lastBackslash);
    return blank < 0 ? command : command.left(blank);
}

BrowserLaunch BrowserLaunchFor(const QString& command, const QString& url)
{
    const QString program = BrowserProgram(command);
    if (program != command)
        return {program, {url}};
    QStringList parts = QProcess::splitCommand(command);
    if (parts.isEmpty())
        return {};
    BrowserLaunch launch{parts.takeFirst(), parts};
    const QString placeholder = u"%s"_s;
    if (!launch.arguments.contains(placeholder)) {
        launch.arguments.append(url);
        return launch;
    }
    for (QString& argument : launch.arguments) {
        if (argument == placeholder)
            argument = url;
    }
    return launch;
}
