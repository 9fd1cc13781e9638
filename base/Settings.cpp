#include "base/Settings.h"

#include "base/AppConfig.h"
#include "base/FileReplace.h"
#include "base/LoadText.h"
#include "base/TextRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QVariant>

#include <utility>

namespace {

const char* const kDefaultCommands[AppConfig::kCommandCount] = {
    "control/rcontrol?action=putrs232&rs232outtext=5&dummy=24324000000",
    "control/rcontrol?action=putrs232&rs232outtext=8&dummy=24324000000",
    "control/rcontrol?action=putrs232&rs232outtext=6&dummy=24324000000",
    "control/rcontrol?action=putrs232&rs232outtext=2&dummy=24324000000",
    "control/rcontrol?action=putrs232&rs232outtext=4&dummy=24324000000",
    "control/rcontrol?action=putrs232&rs232outtext=0&dummy=24324000000",
    "record/current.jpg",
    "control/rcontrol?action=userclick&dummy=23458000000",
};

// A stored text longer than its field keeps its first `width` characters.
QString fitted(const QString& text, int width)
{
    if (text.size() <= width)
        return text;
    const bool splitsPair = text.at(width - 1).isHighSurrogate();
    return text.left(splitsPair ? width - 1 : width);
}

// Fills the fields in order from the tokens of `text`; a field without a token keeps its value.
void readNumbers(const QString& text, std::initializer_list<int32_t*> fields)
{
    const QStringList tokens = SplitTokens(text, u',');
    qsizetype i = 0;
    for (int32_t* field : fields) {
        if (i < tokens.size())
            *field = Atoi(tokens.at(i));
        ++i;
    }
}

QSettings NativeSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                     QCoreApplication::applicationName());
}

#ifndef Q_OS_WIN
// How long a save waits for another writer of the file (a tool that uses QSettings on it).
constexpr int kLockWaitMs = 5000;

// Writers of the file, QSettings among them, guard each write with "<file>.lock". A process
// killed after creating that file and before naming itself in it leaves it empty, and every
// later write would wait for it to go stale. One killed while it took over the lock of a dead
// writer leaves the guard of that takeover, "<file>.lock.rmlock", and no later write could take
// the dead writer's lock over again. Only the instance that holds the profile writes here, so
// both are leftovers.
void RemoveLeftOverLock(const QString& lockFile)
{
    const QFileInfo lock(lockFile);
    if (lock.exists() && lock.size() == 0)
        QFile::remove(lock.filePath());
    QFile::remove(lockFile + QStringLiteral(".rmlock"));
}

// Every value of an INI file, as QSettings reads it from the disk.
QMap<QString, QVariant> IniFileValues(const QString& path)
{
    const QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QVariant> values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

// The whole file is written here, beside the old one, and read back before it replaces it:
// QSettings' own save renames a file cut short by a full disk over the old one.
bool StoreInIniFile(const QString& path, const QString& section, const IniValues& values)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString lockFile = path + QStringLiteral(".lock");
    RemoveLeftOverLock(lockFile);
    QLockFile lock(lockFile);
    if (!lock.tryLock(kLockWaitMs))
        return false;
    QFile old(path);
    // A file that exists but cannot be read is not replaced by one without its values.
    if (old.exists() && !old.open(QIODevice::ReadOnly))
        return false;
    const QByteArray oldText = old.isOpen() ? old.readAll() : QByteArray();
    if (old.error() != QFileDevice::NoError)
        return false;
    QMap<QString, QVariant> expected = old.exists() ? IniFileValues(path) : QMap<QString, QVariant>();
    for (const auto& [name, text] : values)
        expected.insert(section + u'/' + name, text);
    const auto readsAsExpected = [&](const QString& copy) { return IniFileValues(copy) == expected; };
    return ReplaceFile(path, WithIniValues(oldText, section, values), readsAsExpected) == FileReplaced::Yes;
}

#endif
} // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString& name, const QString& fallback) const
{
    QSettings settings = NativeSettings();
    settings.beginGroup(LoadString(StringId::kSection));
    const QVariant value = settings.value(name);
    if (!value.isValid())
        return fallback;
    // A hand-edited value with commas and without quotes comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool SettingsStore::write(const QString& name, const QString& text)
{
    if (together_) {
        together_->append({name, text});
        return true;
    }
    return writeTogether([&] { write(name, text); });
}

bool SettingsStore::writeTogether(const std::function<void()>& writes)
{
    if (together_) {
        writes();
        return true;
    }
    together_.emplace();
    writes();
    const IniValues values = *std::exchange(together_, std::nullopt);
    return values.isEmpty() || store(values);
}

bool SettingsStore::store(const IniValues& values)
{
#ifdef Q_OS_WIN
    // The registry stores each value whole.
    QSettings settings = NativeSettings();
    settings.beginGroup(LoadString(StringId::kSection));
    for (const auto& [name, text] : values)
        settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
#else
    return StoreInIniFile(NativeSettings().fileName(), LoadString(StringId::kSection), values);
#endif
}

void SettingsStore::removeLeftOverCopies()
{
#ifndef Q_OS_WIN
    RemoveLeftOverCopies(NativeSettings().fileName());
#endif
}

QString SettingsStore::profileFolder()
{
    // Any name will do for the folder; without one, as before the application exists, the file
    // would be Korvath.conf one folder up.
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                             QStringLiteral("pantiro"));
    return QFileInfo(settings.fileName()).absolutePath();
}

QString SettingsStore::fileName()
{
    return NativeSettings().fileName();
}

ActPos LoadSettings(SettingsStore& store, AppConfig& config, const std::function<void()>& chooseLanguage)
{
    const int32_t language = Atoi(store.read(LoadString(StringId::kLanguage), QStringLiteral("-1")));
    if (language < 0) {
        if (chooseLanguage)
            chooseLanguage();
    } else {
        config.language = language;
    }

    const QStringList comm = SplitTokens(store.read(LoadString(StringId::kComm), QStringLiteral("COM1,9600")), u',');
    if (!comm.isEmpty())
        config.portName = fitted(comm.at(0), AppConfig::kNameWidth);
    if (comm.size() > 1)
        config.baudRate = Atoi(comm.at(1));

    config.cameraAddress =
        fitted(store.read(LoadString(StringId::kCommAdr), QStringLiteral("0.0.0.0")), AppConfig::kNameWidth);

    // Files from before the camera had a login have no user name: requests go without one.
    config.cameraUser = fitted(store.read(LoadString(StringId::kCameraUser), QString()), AppConfig::kUserWidth);

    for (int i = 0; i < AppConfig::kCommandCount; ++i) {
        const QString text = store.read(LoadString(StringId::kCmd1 + i), QString::fromLatin1(kDefaultCommands[i]));
        config.commands.at(static_cast<size_t>(i)) = fitted(text, AppConfig::kCommandWidth);
    }

    readNumbers(store.read(LoadString(StringId::kTimes), QStringLiteral("1000,10,5,60")),
                {&config.dwellMs, &config.cyclePauseSec, &config.zeroDriveExtraSec, &config.referenceDriveSec});
    readNumbers(store.read(LoadString(StringId::kOptions), QStringLiteral("0,0,0")),
                {&config.driveYPositions, &config.soundSignals, &config.autoStartPatrol});

    ActPos position;
    readNumbers(store.read(LoadString(StringId::kActPos), QStringLiteral("0,0")), {&position.x, &position.y});
    return position;
}

bool SaveActPos(SettingsStore& store, int32_t posX, int32_t posY)
{
    return store.write(LoadString(StringId::kActPos), QString::asprintf("%d,%d", posX, posY));
}

bool SaveLanguage(SettingsStore& store, int32_t language)
{
    return store.write(LoadString(StringId::kLanguage), QString::number(language));
}

bool SaveCameraUser(SettingsStore& store, const QString& user)
{
    return store.write(LoadString(StringId::kCameraUser), user);
}

bool SaveAllSettings(SettingsStore& store, const AppConfig& config)
{
    // One file replacement, not thirteen: a crash between two would leave half the new values.
    return store.writeTogether([&] {
        SaveLanguage(store, config.language);
        store.write(LoadString(StringId::kComm), config.portName + QStringLiteral(",%1").arg(config.baudRate));
        store.write(LoadString(StringId::kCommAdr), config.cameraAddress);
        for (int i = 0; i < AppConfig::kCommandCount; ++i)
            store.write(LoadString(StringId::kCmd1 + i), config.commands.at(static_cast<size_t>(i)));
        store.write(LoadString(StringId::kTimes),
                    QString::asprintf("%d,%d,%d,%d", config.dwellMs, config.cyclePauseSec, config.zeroDriveExtraSec,
                                      config.referenceDriveSec));
        store.write(LoadString(StringId::kOptions),
                    QString::asprintf("%d,%d,%d", config.driveYPositions, config.soundSignals, config.autoStartPatrol));
    });
}
