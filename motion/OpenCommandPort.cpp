#include "motion/OpenCommandPort.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "motion/CommPort.h"
#include "base/MessageBox.h"

void OpenCommandPort(AppConfig& config, CommPort& ports, QObject* owner)
{
    ports.Close(config.portSlot);
    config.portSlot = -1;
    if (!config.usesSerialPort())
        return;
    config.portSlot = ports.Open(config.portName, config.baudRate, 8, CommPort::ParityNone, CommPort::StopOne,
                                 CommPort::HandshakeAsIs, 0);
    if (config.portSlot < 0)
        MessageBox(owner, LoadText(1002, config.language), MessageButtons::Ok, MessageIcon::Stop);
}
