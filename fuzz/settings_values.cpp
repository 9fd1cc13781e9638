// Hand-edited Language, Comm, Times, Options, ActPos, CommAdr and Cmd7 values (one per input
// line; any text, escapes and control characters included) load into
// a configuration that the settings dialog's save and the exit's position save store so that
// it loads again unchanged.
#include "base/AppConfig.h"
#include "base/Settings.h"
#include "base/TextRules.h"
#include "fuzz/ScratchFolder.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

void require(bool rule)
{
    if (!rule)
        std::abort();
}

// A private settings home.
bool PrepareSettingsHome()
{
    const QString home = ScratchFolder();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    return !home.isEmpty();
}

// An empty port name is stored as "Comm" beginning with its separator, which reads back as the
// baud rate's text for a name; that name still selects no serial port, as the empty one did.
bool SamePort(const AppConfig& loaded, const AppConfig& reloaded)
{
    return loaded.portName.isEmpty() ? !reloaded.usesSerialPort() : reloaded.portName == loaded.portName;
}

bool LoadsAgainUnchanged(const AppConfig& a, const AppConfig& b)
{
    return a.language == b.language && SamePort(a, b) && a.baudRate == b.baudRate && a.cameraAddress == b.cameraAddress
           && a.commands == b.commands && a.dwellMs == b.dwellMs && a.cyclePauseSec == b.cyclePauseSec
           && a.zeroDriveExtraSec == b.zeroDriveExtraSec && a.referenceDriveSec == b.referenceDriveSec
           && a.driveYPositions == b.driveYPositions && a.soundSignals == b.soundSignals
           && a.autoStartPatrol == b.autoStartPatrol;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = PrepareSettingsHome();
    require(ready);
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split(u'\n');
    SettingsStore store;
    const char* const names[] = {"Language", "Comm", "Times", "Options", "ActPos", "CommAdr", "Cmd7"};
    for (int i = 0; i < static_cast<int>(std::size(names)); ++i)
        store.write(QString::fromLatin1(names[i]), lines.value(i));

    AppConfig loaded;
    bool asked = false;
    const ActPos position = LoadSettings(store, loaded, [&] { asked = true; });
    require(asked == (Atoi(lines.value(0)) < 0));

    SaveAllSettings(store, loaded);
    SaveActPos(store, position.x, position.y);
    AppConfig reloaded;
    const ActPos positionAgain = LoadSettings(store, reloaded, {});
    require(LoadsAgainUnchanged(loaded, reloaded));
    require(positionAgain.x == position.x && positionAgain.y == position.y);
    return 0;
}
