#include "positions/PositionListFile.h"

#include "base/PositionRows.h"
#include "base/TextRules.h"
#include "positions/ListFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr int kCellMaxChars = 99;

// The cell as a buffer of maxChars characters (and its terminator) would hold it.
QString CellText(const PositionRows& rows, int row, int column, int maxChars)
{
    return rows.cellText(row, column, maxChars + 1);
}

QStringView CutAtFirst(QStringView text, QChar c)
{
    const qsizetype at = text.indexOf(c);
    return at >= 0 ? text.left(at) : text;
}

// A name may hold nothing that would end its field or its line, and must not be empty, or its
// line would come back with its fields shifted.
QString NameAsWritten(const PositionRows& rows, int row)
{
    // One more character than is kept shows whether the cut would split one.
    QString name = CutWithoutSplitting(CellText(rows, row, PositionRows::kNameColumn, kCellMaxChars + 1), kCellMaxChars);
    for (QChar& c : name)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return name.isEmpty() ? QStringLiteral(" ") : name;
}

QByteArray ListFileContents(const PositionRows& rows)
{
    QString text;
    for (int row = PositionRows::kFirstPositionRow; row < rows.rowCount(); ++row) {
        text += NameAsWritten(rows, row);
        text += u'\t';
        text += FormatCounter(Atoi(CellText(rows, row, PositionRows::kXColumn, kCellMaxChars)));
        text += u'\t';
        text += FormatCounter(Atoi(CellText(rows, row, PositionRows::kYColumn, kCellMaxChars)));
        text += QLatin1String("\r\n");
    }
    return text.toUtf8();
}

// The rename that replaced the file reaches the disk only with its directory.
void SyncDirectoryOf(const QString& path)
{
#ifdef Q_OS_UNIX
    const int directory = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
#else
    Q_UNUSED(path);
#endif
}

} // namespace

QString PositionListPath(const QString& workingDirectory)
{
    return workingDirectory + QStringLiteral("/pantiro.lst");
}

int LoadPositionList(const QString& path, PositionRows& rows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int added = 0;
    for (const QString& piece : SplitListPieces(DecodeListFile(file.readAll()))) {
        const QStringList fields = SplitTokens(CutAtFirst(CutAtFirst(piece, u'\n'), u'\r'), u'\t');
        if (fields.isEmpty())
            continue;
        const int row = rows.insertRow(rows.rowCount(), fields[0], kPositionRowImage);
        if (row < 0)
            continue;
        ++added;
        if (fields.size() > 1)
            rows.setCellText(row, PositionRows::kXColumn, fields[1]);
        if (fields.size() > 2)
            rows.setCellText(row, PositionRows::kYColumn, fields[2]);
    }
    return added;
}

bool SavePositionList(const QString& path, const PositionRows& rows)
{
    // Written beside the old file and renamed over it: a crash or a full disk leaves the old
    // list or the new one, never a part of one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray contents = ListFileContents(rows);
    // commit() alone would rename a file cut short by a full disk over the old one.
    if (file.write(contents) != contents.size() || !file.flush())
        file.cancelWriting();
    if (!file.commit())
        return false;
    SyncDirectoryOf(path);
    return true;
}
