#pragma once

// Plays a bundled sound by its resource ID without waiting for it to end.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(int id) = 0;
};
