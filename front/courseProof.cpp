#include "front/courseProof.h"

#include <cmath>

#include "core/timing.h"
#include "race/game.h"
#include "race/gameFrame.h"
#include "race/player.h"
#include "track/courseShape.h"

// Far outside every wall, in world units.
static const float parkedUnits = -4000.0f;
// Counts per second of the prover's clock, as the headless runner's.
static const int64_t proofClockFrequency = 1000000000;

RaceProver::RaceProver(Game* g)
    : state(courseUnproved), tiles(0), allowedSeconds(0.0), frames(0), bestLap(0.0), lapSum(0.0), laps(0), game(g),
      ownsGame(false), course(), started(false), lapsSeen{}, ownKeys(), ownMouse(), ownFrameTime(0.0), ownNow(0),
      ownFrequency(proofClockFrequency) {
    clock.frequency = proofClockFrequency;
    clock.counter = 0;
    clock.echoToStderr = false;
}

RaceProver::~RaceProver() {
    if (ownsGame) delete game;
}

void RaceProver::begin(const Course& c) {
    course = c;
    TileCoord loop[maxLoopCells];
    ShapeReport report;
    tiles = traceLoop(course, loop, report);
    state = tiles > 0 ? courseProving : courseRefused;
    started = false;
    frames = 0;
    bestLap = 0.0;
    lapSum = 0.0;
    laps = 0;
}

// The shared state a frame of a game reads and writes, kept while the prover's own is in.
struct SharedState {
    Platform* platform;
    Keys keys;
    Mouse mouse;
    double frameTime;
    int64_t now, frequency;
};

ProofState RaceProver::advance(int budget) {
    if (state != courseProving) return state;
    SharedState shared = {&platform(), keys, mouse, frameTime, perfCounterNow, perfFrequency};
    if (!game) {
        // Making and loading a game sets the shared clock's frequency; the game on screen keeps its own.
        game = new Game();
        ownsGame = true;
        game->load();
    }
    setPlatform(&clock);
    keys = ownKeys;
    mouse = ownMouse;
    frameTime = ownFrameTime;
    perfCounterNow = ownNow;
    perfFrequency = ownFrequency;
    if (!started) setUp();
    for (int i = 0; i < budget && state == courseProving; i++) state = step();
    ownKeys = keys;
    ownMouse = mouse;
    ownFrameTime = frameTime;
    ownNow = perfCounterNow;
    ownFrequency = perfFrequency;
    setPlatform(shared.platform);
    keys = shared.keys;
    mouse = shared.mouse;
    frameTime = shared.frameTime;
    perfCounterNow = shared.now;
    perfFrequency = shared.frequency;
    return state;
}

bool RaceProver::prove(const Course& c) {
    begin(c);
    while (advance(1 << 20) == courseProving) {}
    return state == courseProved;
}

// The title of the course, the user's truck parked off it, and Space pressed to start.
void RaceProver::setUp() {
    Game& g = *game;
    g.currentTrack = 0;
    g.useCourse(0, course);
    g.trackCount = 1;
    g.waitingForStart = true;
    g.raceOver = false;
    g.paused = false;
    g.startHeld = false;
    g.resetRace();
    // The idle user's truck waits off the course: left on the grid it would stand in the
    // others' way as no player's truck does.
    g.trucks[0].setPosition(parkedUnits, parkedUnits);
    allowedSeconds = proofStartAllowanceSeconds + proofSecondsPerTileLap * tiles * g.lapsToRace;
    keys = Keys();
    mouse.leftButtonUp();
    mouse.rightButtonUp();
    mouse.middleButtonUp();
    // The clock goes on from the last proof: a frame's length is all the race reads of it.
    clock.counter += (int64_t)std::llround(proofFrameSeconds * (double)proofClockFrequency);
    perfFrequency = proofClockFrequency;
    keys.keyDown(VK_SPACE);
    runGameFrame(g, nullptr, false);
    keys.keyUp(VK_SPACE);
    // The starting frame counts, as the runner's races count it.
    frames = 1;
    for (int i = 0; i < Game::maxTrucks; i++) lapsSeen[i] = 0;
    started = true;
}

ProofState RaceProver::step() {
    Game& g = *game;
    clock.counter += (int64_t)std::llround(proofFrameSeconds * (double)proofClockFrequency);
    runGameFrame(g, nullptr, false);
    // Anything the frame asked of the desktop is not the proof's business.
    WindowMessage dropped;
    while (clock.peekMessage(dropped)) {}
    frames++;
    noteLaps();
    bool all = true;
    for (int i = 1; i < g.truckCount; i++)
        if (!g.players[i] || !g.players[i]->isFinished()) all = false;
    if (all) return courseProved;
    return (double)frames * proofFrameSeconds >= allowedSeconds ? courseRefused : courseProving;
}

// Laps completed in this frame: a truck keeps only its last, so it is read now.
void RaceProver::noteLaps() {
    for (int i = 1; i < game->truckCount && i < Game::maxTrucks; i++) {
        const Truck& t = game->trucks[i];
        if (t.getLapCount() > lapsSeen[i]) {
            double lap = t.getLastLapTime();
            bestLap = laps == 0 || lap < bestLap ? lap : bestLap;
            lapSum += lap;
            laps++;
        }
        lapsSeen[i] = t.getLapCount();
    }
}
