#include "app/soundDevice.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "physics/physicsObject.h"
#include "vehicle/truck.h"
#include "race/game.h"

SoundDevice sound;
bool soundMuted = false;
static RaceEar ear = {};

// The user's engine, and the computer trucks' at most this loud, fading with distance.
static const float userEngineVolume = 0.6f;
static const float computerEngineVolume = 0.25f;
static const float fadeDistance = 250.0f;     // pixels at which a computer engine is half as loud
static const float halfScreenWidth = 320.0f;  // screen pixels from the centre to a hard-panned edge
// The title and results are a backdrop: the user's engine idling, this much of its race level.
static const float backdropLevel = 0.25f;
// A speed change from a collision below this is a touch, not a thud (pixels per second).
static const float smallestThud = 3.0f;
static const float squealRange = 60.0f;  // sideways speed past the grip limit for full squeal

SoundDevice::SoundDevice() : sampleRate(48000), device(0), audioStarted(false), buffersMade(0) {}

// SDL's audio thread: no locks, no allocation, only the mailbox and the synthesiser.
static void fillBuffer(void* user, Uint8* stream, int length) {
    SoundDevice* self = (SoundDevice*)user;
    int frames = length / (int)(2 * sizeof(float));
    synthesise(self->synth, self->mailbox.take(), (float*)stream, frames, self->sampleRate);
    self->buffersMade.fetch_add(1, std::memory_order_relaxed);
}

// Sound libraries under SDL (ALSA above all) print a screenful of their own when a machine has
// no sound card; while the device is sought they print to nowhere, and the game says it once.
namespace {
class QuietStderr {
public:
    QuietStderr() : saved(-1) {
        fflush(stderr);
        int nowhere = ::open("/dev/null", O_WRONLY);
        if (nowhere < 0) return;
        saved = dup(2);
        if (saved >= 0) dup2(nowhere, 2);
        ::close(nowhere);
    }
    ~QuietStderr() {
        if (saved < 0) return;
        fflush(stderr);
        dup2(saved, 2);
        ::close(saved);
    }

private:
    int saved;
};
}  // namespace

bool SoundDevice::open() {
    if (device) return true;
    SDL_AudioDeviceID id = 0;
    SDL_AudioSpec want = {}, have = {};
    bool started;
    {
        QuietStderr quiet;
        started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (started) {
            want.freq = 48000;
            want.format = AUDIO_F32SYS;
            want.channels = 2;
            want.samples = 1024;  // about 21 ms: a frame's values reach the speaker within two frames
            want.callback = fillBuffer;
            want.userdata = this;
            // SDL converts the format and channels if it must; only the rate is taken as it comes.
            id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        }
    }
    if (!started) {
        fprintf(stderr, "No sound: %s\n", SDL_GetError());
        return false;
    }
    audioStarted = true;
    if (id == 0) {
        fprintf(stderr, "No sound: %s\n", SDL_GetError());
        close();
        return false;
    }
    synth = SynthState();
    sampleRate = have.freq > 0 ? have.freq : want.freq;
    device = id;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SoundDevice::close() {
    if (device) SDL_CloseAudioDevice(device);
    device = 0;
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

void SoundDevice::setPaused(bool paused) {
    if (device) SDL_PauseAudioDevice(device, paused ? 1 : 0);
}

void panHumansForSplit(SoundChoices& choices, bool sideBySide) {
    choices.humanPan[0] = sideBySide ? -splitEnginePan : 0.0f;
    choices.humanPan[1] = sideBySide ? splitEnginePan : 0.0f;
}

// A pan kept inside the field; anything not a number is centred.
static float fieldPan(float pan) { return std::isfinite(pan) ? std::fmax(-1.0f, std::fmin(1.0f, pan)) : 0.0f; }

SoundFrame hearRace(const Game& game, RaceEar& memory, bool muted, const float* humanPan) {
    SoundFrame frame = {};
    frame.muted = muted;
    int count = game.truckCount < 0 ? 0 : game.truckCount > Game::maxTrucks ? Game::maxTrucks : game.truckCount;
    if (count > maxEngineVoices) count = maxEngineVoices;
    if (count == 0) return frame;
    // The camera looks at the user's truck: a truck's place on screen is its offset, zoomed.
    const Camera2D& camera = game.views[0].camera;
    float zoom = std::isfinite(camera.zoom) ? camera.zoom : 1.0f;
    for (int i = 0; i < count; i++) {
        const Truck& t = game.trucks[i];
        EngineVoice& voice = frame.engines[i];
        float load = std::fabs(t.getPower()) / forwardPower;
        voice.load = std::isfinite(load) ? std::fmin(1.0f, load) : 0.0f;
        voice.revs = gearboxRevs(memory.gears[i], t.getSpeed(), voice.load);
        if (game.isHuman(i)) {
            voice.volume = userEngineVolume;
            voice.pan = humanPan && i < 2 ? fieldPan(humanPan[i]) : 0.0f;
            continue;
        }
        // Heard from the nearest human, on that human's side: a split view is half as wide.
        int listener = 0;
        float dx = 0, distance = 0;
        for (int h = 0; h < game.humans() && h < 2; h++) {
            float hx = t.getX() - game.trucks[h].getX(), hy = t.getY() - game.trucks[h].getY();
            float d = std::sqrt(hx * hx + hy * hy);
            if (h == 0 || d < distance) {
                listener = h;
                dx = hx;
                distance = d;
            }
        }
        voice.volume = computerEngineVolume / (1 + distance / fadeDistance);
        float side = humanPan ? fieldPan(humanPan[listener]) : 0.0f;
        float pan = side + dx * zoom / halfScreenWidth * (side != 0.0f ? 0.5f : 1.0f);
        voice.pan = fieldPan(pan);
    }
    frame.raceLevel = game.paused ? 0.0f : 1.0f;
    if (game.waitingForStart) {
        // Nobody races on the title or the results: no drone, only a quiet idle under the panel.
        for (int i = 1; i < count; i++) frame.engines[i].volume = 0;
        frame.engines[0].revs = idleRevs;
        frame.engines[0].load = 0;
        frame.raceLevel = backdropLevel;
    }

    if (!memory.primed) {
        // The first frame heard only sets what later frames are compared with.
        memory = RaceEar{};
        memory.primed = true;
        memory.raceOver = game.raceOver;
    }
    int humans = game.humans() < 1 ? 1 : game.humans() > 2 ? 2 : game.humans();
    frame.squeal = 0.0f;
    for (int h = 0; h < humans && h < count; h++) {
        const PhysicsObject& body = game.trucks[h].body;
        HumanEar& heard = memory.humans[h];
        // A human not heard last frame (the first frame, or player two's first) sets what later
        // frames compare with.
        if (h >= memory.humansHeard) heard = HumanEar{game.trucks[h].getLapCount(), body.collisionKickTotal, false};
        // The sideways part of the truck's velocity, as the tyres feel it: the louder slide squeals.
        float side[2] = {body.heading[1], -body.heading[0]};
        float sideways = std::fabs(side[0] * body.velocity[0] + side[1] * body.velocity[1]);
        float past = (sideways - (float)gripSlideSpeed) / squealRange;
        if (std::isfinite(past)) frame.squeal = std::fmax(frame.squeal, std::fmax(0.0f, std::fmin(1.0f, past)));

        // A new race's body starts its total again: nothing to hear in the drop.
        double kick = body.collisionKickTotal - heard.kickTotal;
        if (kick < 0) kick = 0;
        bool pushed = kick >= smallestThud;
        if (pushed && !heard.touching) {
            memory.thuds++;
            memory.thudPush = (float)kick;
        }
        heard.touching = pushed;
        heard.kickTotal = body.collisionKickTotal;
        if (game.trucks[h].getLapCount() > heard.lapCount) memory.laps++;
        heard.lapCount = game.trucks[h].getLapCount();
    }
    memory.humansHeard = humans;
    if (game.raceOver && !memory.raceOver) memory.finishes++;
    memory.raceOver = game.raceOver;
    // The push goes with its count every frame: the callback may first look frames later.
    frame.thuds = memory.thuds;
    frame.thudPush = memory.thudPush;
    frame.laps = memory.laps;
    frame.finishes = memory.finishes;
    return frame;
}

SoundChoices soundChoices;

void listenToRace(const Game& game) {
    if (!sound.isOpen()) return;
    SoundFrame frame = hearRace(game, ear, soundMuted, soundChoices.humanPan);
    for (EngineVoice& voice : frame.engines) voice.volume *= soundChoices.engines;
    frame.masterVolume = soundChoices.master;
    frame.effectsVolume = soundChoices.effects;
    frame.beeps = soundChoices.beeps;
    frame.goes = soundChoices.goes;
    sound.mailbox.post(frame);
}
