#include "platform/SoundPlayer.h"

#include "res/Resources.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// Asked once: the device list does not change often enough to be worth watching for a chime.
SoundPlayer::SoundPlayer() : hasAudioOutput_(!QMediaDevices::audioOutputs().isEmpty()) {}

SoundPlayer::~SoundPlayer()
{
    qDeleteAll(effects_);
}

void SoundPlayer::play(int id)
{
    if (!hasAudioOutput_)
        return;
    QSoundEffect* effect = effects_.value(id);
    if (!effect) {
        const QString path = SoundResourcePath(id);
        if (path.isEmpty())
            return;
        effect = new QSoundEffect;
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
        effects_.insert(id, effect);
    }
    // A sound that failed to load stays silent rather than failing again on every play.
    if (effect->status() == QSoundEffect::Error || effect->isPlaying())
        return;
    effect->play();
}
