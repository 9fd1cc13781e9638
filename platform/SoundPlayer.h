#pragma once

#include "base/Sound.h"

#include <QHash>

class QSoundEffect;

// The bundled WAVE sounds through Qt Multimedia. Where the machine has no audio output it
// does nothing at all, so that it neither logs nor waits on a sound system that is not there.
// Asking for the outputs may let the audio system log one notice of its own, once. A sound
// asked for again while it still plays is not restarted: the second request is ignored.
class SoundPlayer : public Sound {
public:
    SoundPlayer();
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(int id) override;
    bool hasAudioOutput() const { return hasAudioOutput_; }

private:
    bool hasAudioOutput_;
    QHash<int, QSoundEffect*> effects_; // owned; each loaded on its first play
};
