#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The persisted configuration, loaded once at start and changed only by the language and
// settings dialogs. Texts are kept at most at their field widths.
struct AppConfig {
    static constexpr int kNameWidth = 50;      // portName, cameraAddress
    static constexpr int kCommandWidth = 255;  // each of commands
    static constexpr int kCommandCount = 8;
    static constexpr int kUserWidth = 64; // cameraUser

    int32_t language = 0;  // 0 German, every other value English
    int32_t portSlot = 0;  // run time only: slot of the open serial port, -1 when none
    QString portName;
    int32_t baudRate = 0;
    QString cameraAddress;
    QString cameraUser; // the camera's login; empty: requests go without one. Never the password.
    std::array<QString, kCommandCount> commands;  // Cmd1 ... Cmd8, paths without a leading slash
    int32_t dwellMs = 0;
    int32_t cyclePauseSec = 0;
    int32_t zeroDriveExtraSec = 0;
    int32_t referenceDriveSec = 0;
    int32_t driveYPositions = 0;
    int32_t soundSignals = 0;
    int32_t autoStartPatrol = 0;

    // The head is commanded over a serial port exactly when the port name starts with 'C'
    // ("COM1", ...) or is a device path ("/dev/ttyUSB0"); every other name ("Kein", "None")
    // selects the camera's HTTP interface.
    bool usesSerialPort() const
    {
        return portName.startsWith(QLatin1Char('C')) || portName.startsWith(QLatin1Char('/'));
    }

    // Cmd1 ... Cmd8 by their number.
    const QString& command(int number) const { return commands.at(static_cast<size_t>(number - 1)); }
};

// The process-wide configuration.
AppConfig& appConfig();
