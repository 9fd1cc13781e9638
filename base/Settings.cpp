#include "base/Settings.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/TextRules.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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

// QSettings guards each write with "<file>.lock". A process killed after creating that file and
// before naming itself in it leaves it empty, and every later write would wait 30 s for it to go
// stale. Only the instance that holds the profile writes here, so an empty lock is a leftover.
void RemoveLeftOverLock(const QString& settingsFile)
{
    const QFileInfo lock(settingsFile + QStringLiteral(".lock"));
    if (lock.exists() && lock.size() == 0)
        QFile::remove(lock.filePath());
}

}  // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString& name, const QString& fallback) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                       QCoreApplication::applicationName());
    settings.beginGroup(LoadString(StringId::kSection));
    const QVariant value = settings.value(name);
    if (!value.isValid())
        return fallback;
    // A hand-edited value with commas and without quotes comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::write(const QString& name, const QString& text)
{
    if (together_) {
        together_->setValue(name, text);
        return;
    }
    writeTogether([&] { write(name, text); });
}

void SettingsStore::writeTogether(const std::function<void()>& writes)
{
    if (together_) {
        writes();
        return;
    }
    together_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                                            QCoreApplication::applicationName());
    RemoveLeftOverLock(together_->fileName());
    together_->beginGroup(LoadString(StringId::kSection));
    writes();
    // The file is replaced once, as the settings object goes.
    together_.reset();
}

QString SettingsStore::profileFolder()
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                             QCoreApplication::applicationName());
    return QFileInfo(settings.fileName()).absolutePath();
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

void SaveActPos(SettingsStore& store, int32_t posX, int32_t posY)
{
    store.write(LoadString(StringId::kActPos), QString::asprintf("%d,%d", posX, posY));
}

void SaveLanguage(SettingsStore& store, int32_t language)
{
    store.write(LoadString(StringId::kLanguage), QString::number(language));
}

void SaveAllSettings(SettingsStore& store, const AppConfig& config)
{
    // One file replacement, not thirteen: a crash between two would leave half the new values.
    store.writeTogether([&] {
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
