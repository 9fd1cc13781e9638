#pragma once

#include "motion/SerialLineRequest.h"

#include <termios.h>

#include <optional>

// The line settings an open with `request` asks of a device whose settings are `current` now
// and were `before` when it was first opened. Data bits, stop bits, parity (every parity bit, so
// none of an earlier setting stays behind), the speed where it is a standard one (other speeds
// are the serial layer's) and the handshake codes; a parity or stop-bit code outside the table
// keeps what the device had `before`. Empty for settings no POSIX line can have: data bits
// outside 5 to 8, one and a half stop bits, a baud rate below 1.
std::optional<termios> WantedLineSettings(const termios& current, const termios& before,
                                          const SerialLineRequest& request);

// Writes the wanted settings to an open terminal and switches the modem lines the handshake
// code names. False when they cannot be had or written. Modem lines the device cannot switch
// (a pseudo-terminal has none) are left alone.
bool ApplyLineCodes(int fd, const termios& before, const SerialLineRequest& request);
