#include "positions/PositionListFile.h"

#include "base/FileReplace.h"
#include "base/PositionRows.h"
#include "base/TextRules.h"
#include "positions/ListFileText.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kCellMaxChars = 99;

// The cell as a buffer of maxChars characters (and its terminator) would hold it.
QString CellText(const PositionRows& rows, int row, int column, int maxChars)
{
    return rows.cellText(row, column, maxChars + 1);
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
    // A first name that begins with U+FEFF would pass for a byte-order mark, which the reader
    // drops; one written before it keeps the name whole.
    if (text.startsWith(QChar::ByteOrderMark))
        text.prepend(QChar::ByteOrderMark);
    return text.toUtf8();
}

} // namespace

QString PositionListPath(const QString& workingDirectory)
{
    return workingDirectory + QStringLiteral("/pantiro.lst");
}

int LoadPositionList(const QString& path, PositionRows& rows)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return 0;
    // Opening a pipe would wait for a writer for good, and a device can be endless.
    if (!info.isFile() || info.size() > kListFileMaxBytes)
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.read(kListFileMaxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kListFileMaxBytes)
        return -1;
    int added = 0;
    for (const QString& piece : SplitListPieces(DecodeListFile(bytes))) {
        const QStringList fields = SplitTokens(QStringView(piece).chopped(piece.endsWith(u'\n') ? 1 : 0), u'\t');
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
    const QByteArray contents = ListFileContents(rows);
    switch (ReplaceFile(path, contents)) {
    case FileReplaced::Yes:
        return true;
    case FileReplaced::FolderRefusesNewFiles:
        // A shared folder that only lets the list itself be changed: in place, or not at all.
        return QFileInfo(path).isFile() && OverwriteFile(path, contents);
    case FileReplaced::No:
        break;
    }
    return false;
}
