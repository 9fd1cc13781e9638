#pragma once

#include <QString>
#include <QStringList>

// The serial devices plugged in now, as the settings dialog offers them beside "COM1" ... "COM9":
// first the stable names under <root>/serial/by-id, then <root>/ttyUSB* and <root>/ttyACM* that
// no stable name already stands for. A stable name that could not be stored whole as a port
// name (longer than the field, or with the value's comma) gives way to its kernel name.
// `deviceRoot` is "/dev" on a real system; tests hand in a folder of their own.
QStringList SerialDevicePaths(const QString& deviceRoot = QStringLiteral("/dev"));

// The port list of the settings dialog: `noneText` ("Kein" / "None"), "COM1" ... "COM9", the
// devices, then the stored name when it is a device path missing from the list (an adapter that
// is unplugged now), so that OK without a change keeps the stored port.
QStringList SetupPortEntries(const QString& noneText, const QStringList& devices, const QString& storedName);
