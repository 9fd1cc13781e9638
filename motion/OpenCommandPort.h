#pragma once

struct AppConfig;
class CommPort;
class QObject;

// (Re)opens the configured serial port at 8N1 and the configured baud rate, and stores its slot
// in config.portSlot (-1 when none is open). A serial port that fails to open shows message
// 1002 owned by `owner`.
void OpenCommandPort(AppConfig& config, CommPort& ports, QObject* owner);
