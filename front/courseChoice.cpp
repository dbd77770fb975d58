#include "front/courseChoice.h"

#include <GL/gl.h>
#include <sys/stat.h>

#include <cstring>

#include "core/input.h"
#include "front/courseProof.h"
#include "core/platform.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"

// Between the start prompt (top 60) and the records' panel (bottom 106), as wide as the title's.
static const float choicePanel[4] = {120, 64, 520, 102};
static const int choiceTextX = 140;
static const int choiceTextY = 74;
// Characters of a name that fit the panel beside the keys' names.
static const int shownNameLength = 22;

const char provingText[] = "proving...";

CourseChoice::CourseChoice()
    : chosen(0), randomCount(0), prover(nullptr), waitingForRandom(false), builtTracks(-1), slotReplaced(false),
      ownsProver(false), shipped{}, player{}, messages(nullptr), playerStamp(-1) {}

CourseChoice::~CourseChoice() {
    if (ownsProver) delete prover;
}

// When the folder last changed: a file saved into it atomically is a rename, which changes it.
static int64_t folderStamp(const char* folder) {
    struct stat st;
    if (!folder[0] || stat(folder, &st) != 0) return -1;
    return (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
}

void CourseChoice::gather(const char* shippedFolder, const char* playerFolder, FILE* err) {
    snprintf(shipped, sizeof shipped, "%s", shippedFolder ? shippedFolder : "");
    snprintf(player, sizeof player, "%s", playerFolder ? playerFolder : "");
    messages = err;
    playerStamp = folderStamp(player);
    library.gather(shippedFolder, playerFolder, err);
    chosen = 0;
}

void CourseChoice::regather(Game& game) {
    if (library.count() > 0 && library.entry(chosen).source == randomSource) return;  // kept until left
    playerStamp = folderStamp(player);
    uint64_t was = library.count() > 0 ? library.entry(chosen).hash : 0;
    int wasChosen = chosen;
    library.gather(shipped[0] ? shipped : nullptr, player[0] ? player : nullptr, messages);
    int at = library.find(was);
    chosen = at >= 0 ? at : 0;
    // A course gone from the folder leaves the race on the first built-in one.
    if (at < 0 && wasChosen != 0 && library.count() > 0) handOver(game, library.entry(0));
}

bool CourseChoice::titleShown(const Game& game) {
    return game.waitingForStart && !game.raceOver && game.replayShow == Game::noReplay && !game.help.isOpen();
}

void CourseChoice::update(Game& game) {
    if (!titleShown(game)) return;
    if (folderStamp(player) != playerStamp) regather(game);
    if (keys.wasPressed(VK_LEFT)) step(game, -1);
    if (keys.wasPressed(VK_RIGHT)) step(game, 1);
    // Only once the player steps through the courses: a plain Space start proves nothing.
    if (builtTracks >= 0) proveRandom(game, waitingForRandom ? waitingProofFrames : aheadProofFrames);
}

uint64_t CourseChoice::freshSeed() {
    // The clock mixed with how many have been made.
    return (uint64_t)platform().queryPerformanceCounter() * 0x9E3779B97F4A7C15ull + (uint64_t)randomCount++;
}

void CourseChoice::proveRandom(Game& game, int frames) {
    if (library.count() == 0 || library.entry(library.count() - 1).source != randomSource) return;
    if (!randoms.busy && !randoms.ready) {
        // After a give-up, only the player's next step onto the random entry tries again.
        if (randoms.gaveUp && !waitingForRandom) return;
        randoms.start(freshSeed());
    }
    if (!prover) {
        prover = new RaceProver();
        ownsProver = true;
    }
    randoms.work(*prover, frames);
    if (!waitingForRandom) return;
    Course made;
    if (randoms.take(made)) {
        waitingForRandom = false;
        game.startHeld = false;
        library.setRandom(made);
        handOver(game, library.entry(chosen));
    } else if (randoms.gaveUp) {
        waitingForRandom = false;
        game.startHeld = false;
        fprintf(stderr, "trailerdash: no random course could be made; try again\n");
    }
}

void CourseChoice::settle(Game& game) {
    while (waitingForRandom) proveRandom(game, waitingProofFrames);
}

void CourseChoice::step(Game& game, int by) {
    int n = library.count();
    if (n <= 0) return;
    chosen = ((chosen + by) % n + n) % n;
    if (builtTracks < 0) builtTracks = game.trackCount;
    if (waitingForRandom) {
        // Stepped off the random entry before its course was ready: the proof goes on ahead.
        waitingForRandom = false;
        game.startHeld = false;
    }
    if (library.entry(chosen).source == randomSource) {
        // A new course each time: one proved ahead is offered at once, else the title holds
        // Space and shows the proof under way until it is done.
        waitingForRandom = true;
        game.startHeld = true;
        proveRandom(game, 0);
        return;
    }
    handOver(game, library.entry(chosen));
}

void CourseChoice::handOver(Game& game, const CourseEntry& e) {
    if (builtTracks < 0) builtTracks = game.trackCount;
    if (e.source == builtInSource) {
        // The built-in courses race as they always have, alternating after each race.
        if (slotReplaced) {
            Course first;
            if (builtInCourse(0, first)) game.useCourse(0, first);
            slotReplaced = false;
        }
        game.trackCount = builtTracks;
        game.currentTrack = e.builtIn >= 0 && e.builtIn < game.trackCount ? e.builtIn : 0;
        game.resetRace();
        return;
    }
    // Any other course is raced again and again: it is the only track the results lead to.
    game.currentTrack = 0;
    game.useCourse(0, e.course);
    game.trackCount = 1;
    slotReplaced = true;
}

void CourseChoice::draw(const Game& game) {
    if (!titleShown(game) || library.count() == 0) return;
    drawRect(Game::panelShade, choicePanel[0], choicePanel[1], choicePanel[2], choicePanel[3]);
    textFont.setColour(1, 1, 0);
    printText(choiceTextX, choiceTextY, "Left Right");
    textFont.setColour(1, 1, 1);
    const char* name = waitingForRandom ? provingText : library.entry(chosen).course.name;
    printText(choiceTextX + 150, choiceTextY, "%.*s", shownNameLength, name);
    glColor3f(1, 1, 1);
}
