#pragma once

#include <cstdint>

// The codes of one CommPort::Open: what the caller asks of the line.
struct SerialLineRequest {
    int32_t baudRate = 0;
    int32_t dataBits = 0;
    int32_t parity = 0;
    int32_t stopBits = 0;
    int32_t handshake = 0;
};
