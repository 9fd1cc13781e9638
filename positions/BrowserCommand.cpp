#include "positions/BrowserCommand.h"

using namespace Qt::StringLiterals;

namespace {

// The program part of a Windows command line, as the registry's browser command is read.
QString windowsProgram(const QString& command)
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

// Only a command that starts with a program named ".exe" is read the Windows way: its backslashes are
// path separators and its drive letter holds a colon, which the shell rules would take apart.
bool startsWithWindowsProgram(const QString& command, const QString& program)
{
    if (!program.endsWith(u".exe"_s, Qt::CaseInsensitive))
        return false;
    QStringView start = QStringView(command).trimmed();
    if (start.startsWith(u'"'))
        start = start.mid(1);
    return start.startsWith(program);
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The colon-separated entries of `command`, each split into its words as a POSIX shell reads
// quotes and backslashes. The shell would refuse an entry whose quote is never closed: that entry
// is left out and ends at the first colon after its quote, so the entries after it still count.
QList<QStringList> shellEntries(const QString& command)
{
    QList<QStringList> entries;
    QStringList words;
    QString word;
    bool inWord = false; // also true for a word of nothing but quotes, such as ''
    const auto endWord = [&] {
        if (inWord)
            words.append(word);
        word.clear();
        inWord = false;
    };
    const qsizetype size = command.size();
    // Drops the entry whose quote opened at `quote`; false when no entry follows it.
    const auto skipEntry = [&](qsizetype quote, qsizetype& i) {
        words.clear();
        word.clear();
        inWord = false;
        i = command.indexOf(u':', quote + 1);
        return i >= 0;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = command.at(i);
        if (c == u'\'') {
            const qsizetype close = command.indexOf(u'\'', i + 1);
            if (close < 0) {
                if (!skipEntry(i, i))
                    return entries;
                continue;
            }
            word += command.mid(i + 1, close - i - 1);
            inWord = true;
            i = close;
        } else if (c == u'"') {
            const qsizetype quote = i;
            // Inside double quotes a backslash only escapes what would otherwise end or expand them.
            for (++i; i < size && command.at(i) != u'"'; ++i) {
                if (command.at(i) == u'\\' && i + 1 < size && u"\"\\$`"_s.contains(command.at(i + 1)))
                    ++i;
                word += command.at(i);
            }
            if (i == size) {
                if (!skipEntry(quote, i))
                    return entries;
                continue;
            }
            inWord = true;
        } else if (c == u'\\') {
            word += i + 1 < size ? command.at(++i) : c;
            inWord = true;
        } else if (c == u':' || isBlank(c)) {
            endWord();
            if (c == u':') {
                entries.append(words);
                words.clear();
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    endWord();
    entries.append(words);
    return entries;
}

// Replaces "%s" by `url` and "%%" by "%" in one pass; true when a "%s" was replaced.
bool fillPlaceholders(QString& word, const QString& url)
{
    QString filled;
    bool placed = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar next = i + 1 < word.size() ? word.at(i + 1) : QChar();
        if (word.at(i) == u'%' && (next == u's' || next == u'%')) {
            placed = placed || next == u's';
            filled += next == u's' ? url : u"%"_s;
            ++i;
        } else {
            filled += word.at(i);
        }
    }
    word = filled;
    return placed;
}

} // namespace

QList<BrowserLaunch> BrowserLaunchesFor(const QString& command, const QString& url)
{
    const QString program = windowsProgram(command);
    if (startsWithWindowsProgram(command, program))
        return {{program, {url}}};

    QList<BrowserLaunch> launches;
    for (QStringList words : shellEntries(command)) {
        bool placed = false;
        for (QString& word : words)
            placed = fillPlaceholders(word, url) || placed;
        if (words.isEmpty() || words.first().isEmpty())
            continue;
        if (!placed)
            words.append(url);
        const QString name = words.takeFirst();
        launches.append({name, words});
    }
    return launches;
}
