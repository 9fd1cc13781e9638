#include "motion/OpenCommandPort.h"

#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "motion/CommPort.h"

SerialLineRequest CommandPortLine(int32_t baudRate)
{
    return {baudRate, 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeAsIs};
}

void OpenCommandPort(AppConfig& config, CommPort& ports, QObject* owner)
{
    ports.Close(config.portSlot);
    config.portSlot = -1;
    if (!config.usesSerialPort())
        return;
    const SerialLineRequest line = CommandPortLine(config.baudRate);
    config.portSlot =
        ports.Open(config.portName, line.baudRate, line.dataBits, line.parity, line.stopBits, line.handshake, 0);
    if (config.portSlot < 0) {
        JournalSerialPortNotOpened(config.portName);
        MessageBox(owner, LoadText(1002, config.language), MessageButtons::Ok, MessageIcon::Stop);
    }
}
