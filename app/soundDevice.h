#pragma once
// The game's sound on the desktop: SDL's audio device pulls buffers from the synthesiser, which
// hears the race through a lock-free mailbox that the game thread fills once a frame.
#include <atomic>

#include "audio/soundMailbox.h"
#include "audio/synth.h"

class Game;

class SoundDevice {
public:
    SoundDevice();

    // Opens the default output and starts it; false, with one line on stderr, when there is
    // none (the game then runs silent). Safe to call again after close.
    bool open();
    void close();
    bool isOpen() const { return device != 0; }
    // A minimised game makes no sound and costs the audio thread nothing.
    void setPaused(bool paused);

    SoundMailbox mailbox;
    SynthState synth;  // the callback's alone while the device is open
    int sampleRate;
    unsigned device;    // SDL_AudioDeviceID; 0 when closed
    bool audioStarted;  // open started SDL's audio subsystem, so close stops it
    std::atomic<int> buffersMade;
};

extern SoundDevice sound;
// M flips it; the synthesiser fades to silence rather than cutting off.
extern bool soundMuted;

// The player's volumes (0..1: master, engines, effects) and the countdown's beeps so far, set
// by the shell from the screens above the race; full and none for the classic race.
struct SoundChoices {
    float master = 1.0f, engines = 1.0f, effects = 1.0f;
    uint32_t beeps = 0, goes = 0;
};
extern SoundChoices soundChoices;

// What the listener remembers between frames, to turn counts and totals into events.
struct RaceEar {
    bool primed;
    int lapCount;
    bool raceOver;
    double kickTotal;
    bool touching;  // the user's truck was pushed last frame too: a scrape, not a new thud
    uint32_t thuds, laps, finishes;
    float thudPush;              // the latest thud's, posted with its count until the next
    int gears[maxEngineVoices];  // each engine's gear, so that shifts keep their band
};

// This frame's sounds, read off the trucks: engines by power and speed, the computer trucks'
// quieter and panned by where they are on screen, squeal past the grip, thuds, chimes. The title
// and results hear the user's engine idling low; a pause fades the engines out.
SoundFrame hearRace(const Game& game, RaceEar& ear, bool muted);
// The frame's hook: hears the race and hands it to the device.
void listenToRace(const Game& game);
