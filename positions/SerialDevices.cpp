#include "positions/SerialDevices.h"

#include "base/AppConfig.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// Port names are stored as "name,baud" and cut to the field width when they are read back.
bool storableAsPortName(const QString& path)
{
    return path.size() <= AppConfig::kNameWidth && !path.contains(u',');
}

// Natural order, so that ttyUSB10 follows ttyUSB9.
QStringList sortedEntries(const QDir& folder, const QStringList& patterns)
{
    QStringList names = folder.entryList(patterns, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    QStringList paths;
    for (const QString& name : names)
        paths.append(folder.filePath(name));
    return paths;
}

} // namespace

QStringList SerialDevicePaths(const QString& deviceRoot)
{
    const QDir root(deviceRoot);
    QStringList devices;
    QSet<QString> covered; // the kernel devices that a stable name in the list stands for
    for (const QString& stable : sortedEntries(QDir(root.filePath(QStringLiteral("serial/by-id"))), {})) {
        if (!storableAsPortName(stable))
            continue;
        devices.append(stable);
        covered.insert(QFileInfo(stable).canonicalFilePath());
    }
    for (const QString& pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
        for (const QString& kernel : sortedEntries(root, {pattern})) {
            if (!covered.contains(QFileInfo(kernel).canonicalFilePath()) && storableAsPortName(kernel))
                devices.append(kernel);
        }
    }
    return devices;
}

QStringList SetupPortEntries(const QString& noneText, const QStringList& devices, const QString& storedName)
{
    QStringList entries{noneText};
    for (int number = 1; number <= 9; ++number)
        entries.append(QStringLiteral("COM%1").arg(number));
    entries.append(devices);
    if (storedName.startsWith(u'/') && !entries.contains(storedName, Qt::CaseInsensitive))
        entries.append(storedName);
    return entries;
}
