#include "base/LoadText.h"

#include "base/AppConfig.h"

#include <QFile>
#include <QHash>

namespace {

void readTable(const QString& path, QHash<int, QString>& table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        const qsizetype tab = line.indexOf(u'\t');
        if (line.startsWith(u'#') || tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (ok)
            table.insert(id, line.mid(tab + 1));
    }
}

const QHash<int, QString>& stringTable()
{
    static const QHash<int, QString> table = [] {
        QHash<int, QString> t;
        readTable(QStringLiteral(":/strings/german.txt"), t);
        readTable(QStringLiteral(":/strings/english.txt"), t);
        return t;
    }();
    return table;
}

}  // namespace

QString LoadString(int id)
{
    return stringTable().value(id);
}

QString LoadText(int id, int32_t language)
{
    return LoadString(language == 0 ? id : id + StringId::kEnglishOffset);
}

QString LoadText(int id)
{
    return LoadText(id, appConfig().language);
}
