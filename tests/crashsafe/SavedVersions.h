#pragma once

#include "base/AppConfig.h"
#include "tests/positions/MemoryRows.h"

#include <QString>

// The two versions the crash saver writes in turn; every value differs between them, so a file
// made of parts of both shows.
inline MemoryRows PositionListVersion(int version)
{
    MemoryRows rows;
    for (int i = 0; i < 400; ++i) {
        const int row = rows.insertRow(rows.rowCount(), QStringLiteral("Position %1 v%2").arg(i).arg(version), 14);
        rows.setCellText(row, PositionRows::kXColumn, QString::number(i * 10 + version));
        rows.setCellText(row, PositionRows::kYColumn, QString::number(-i - version));
    }
    return rows;
}

inline AppConfig SettingsVersion(int version)
{
    AppConfig config;
    config.language = version;
    config.portName = version ? QStringLiteral("/dev/ttyUSB0") : QStringLiteral("COM2");
    config.baudRate = version ? 19200 : 9600;
    config.cameraAddress = QStringLiteral("camera-%1.local").arg(version);
    for (int i = 0; i < AppConfig::kCommandCount; ++i)
        config.commands.at(static_cast<size_t>(i)) = QStringLiteral("path%1/v%2,x").arg(i).arg(version);
    config.dwellMs = 1000 + version;
    config.cyclePauseSec = 10 + version;
    config.zeroDriveExtraSec = 5 + version;
    config.referenceDriveSec = 60 + version;
    config.driveYPositions = version;
    config.soundSignals = version;
    config.autoStartPatrol = version;
    return config;
}
