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
    // Where each human's engine sits, -1 left .. +1 right: centred unless the screen is split
    // side by side, each player's then on their own half's side (panHumansForSplit).
    float humanPan[2] = {0.0f, 0.0f};
};
extern SoundChoices soundChoices;
// How far to each side the humans' engines go in a side-by-side split: clearly each player's
// own, while headphones still carry a little of the other's.
const float splitEnginePan = 0.7f;
// Player one's engine to the left and player two's to the right when the two views stand side by
// side; centred otherwise (one view, or one above the other).
void panHumansForSplit(SoundChoices& choices, bool sideBySide);

// What the listener remembers of one human's truck between frames.
struct HumanEar {
    int lapCount;
    double kickTotal;
    bool touching;  // the truck was pushed last frame too: a scrape, not a new thud
};

// What the listener remembers between frames, to turn counts and totals into events.
struct RaceEar {
    bool primed;
    bool raceOver;
    int humansHeard;  // the humans whose trucks the last frame heard
    HumanEar humans[2];
    uint32_t thuds, laps, finishes;
    float thudPush;              // the latest thud's, posted with its count until the next
    int gears[maxEngineVoices];  // each engine's gear, so that shifts keep their band
};

// This frame's sounds, read off the trucks: engines by power and speed, every human's at the
// user's level and pan (humanPan, null for centred), the computer trucks' quieter and panned by
// where they are on screen from the nearest human; every human's truck squealing past its grip,
// thudding into things and chiming its laps, and the finish's chime. The title
// and results hear the user's engine idling low; a pause fades the engines out.
SoundFrame hearRace(const Game& game, RaceEar& ear, bool muted, const float* humanPan = nullptr);
// The frame's hook: hears the race and hands it to the device.
void listenToRace(const Game& game);
