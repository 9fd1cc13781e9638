#pragma once

#include <termios.h>

#include <cstdint>

// Sets on an open terminal what QSerialPort cannot express exactly of CommPort::Open's codes:
// parity (every parity bit, so none of an earlier setting stays behind), a parity or stop-bit
// code outside the table, which keeps what the device had (`before`, read before it was
// opened), and the handshake codes. Returns false when the settings cannot be written. Modem
// lines the device cannot switch (a pseudo-terminal has none) are left alone.
bool ApplyLineCodes(int fd, const termios& before, int32_t parity, int32_t stopBits, int32_t handshake);
