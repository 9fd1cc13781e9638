#pragma once

#include "motion/SerialLineRequest.h"

#include <cstdint>

struct AppConfig;
class CommPort;
class QObject;

// What the command port asks of its line: 8N1 at `baudRate`, the handshake as the port had it.
SerialLineRequest CommandPortLine(int32_t baudRate);

// (Re)opens the configured serial port with CommandPortLine, and stores its slot in
// config.portSlot (-1 when none is open). A serial port that fails to open shows message 1002
// owned by `owner`.
void OpenCommandPort(AppConfig& config, CommPort& ports, QObject* owner);
