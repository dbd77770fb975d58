#include "front/championship.h"

#include <cstdio>
#include <cstring>

#include "core/input.h"
#include "core/platform.h"
#include "race/game.h"
#include "track/courseGenerator.h"
#include "track/courseLibrary.h"

Championship::Championship()
    : stage(off), chosen(allCourses), savedOffered(false), savedRaces(0), savedCourses(0), everyCourse(0), standings(), before(), message{}, saveFailed(false),
      path{}, library(nullptr), builtTracks(-1) {}

void Championship::setUp(const char* progressFile, const CourseLibrary* courses) {
    snprintf(path, sizeof path, "%s", progressFile ? progressFile : "");
    library = courses;
    everyCourse = planOfCourses(courses).courseCount;
}

void Championship::open(Game& game) {
    message[0] = '\0';
    savedOffered = false;
    if (path[0]) {
        char why[progressMessageSize] = "";
        ChampionshipProgress saved;
        ProgressLoad load = loadProgress(path, saved, why, sizeof why);
        if (load == progressLoaded) {
            savedOffered = true;
            savedRaces = saved.racesRun;
            savedCourses = saved.courseCount;
        }
        if (load == progressRefused) {
            // Said, never acted on: the file stays until a new series replaces it.
            snprintf(message, sizeof message, "The saved championship cannot be read (%s); a new one will replace it",
                     why);
            fprintf(stderr, "trailerdash: %s: %s; a new championship will replace it\n", path, why);
        }
    }
    chosen = savedOffered ? continueSaved : allCourses;
    stage = choosing;
    game.startHeld = true;
}

ChampionshipProgress Championship::planOfCourses(const CourseLibrary* courses) {
    ChampionshipProgress plan;
    ChampionshipCourse c = {};
    if (!courses) {
        for (int n = 0; n < 2; n++) {
            Course course;
            if (!builtInCourse(n, course)) continue;
            c.kind = championshipBuiltIn;
            c.builtIn = n;
            snprintf(c.name, sizeof c.name, "%s", course.name);
            plan.addCourse(c);
        }
        return plan;
    }
    for (int i = 0; i < courses->count(); i++) {
        const CourseEntry& e = courses->entry(i);
        if (e.source != builtInSource && e.source != shippedSource) continue;
        c = {};
        c.kind = e.source == builtInSource ? championshipBuiltIn : championshipFile;
        c.builtIn = e.builtIn;
        c.hash = e.hash;
        snprintf(c.name, sizeof c.name, "%s", e.course.name[0] ? e.course.name : "Course");
        plan.addCourse(c);
    }
    return plan;
}

ChampionshipProgress Championship::randomPlan(uint64_t seed, int races) {
    ChampionshipProgress plan;
    for (int r = 0; r < races && r < maxChampionshipRaces; r++) {
        // A seed that makes no course gives way to the next one.
        Course course;
        for (int attempt = 0; attempt < randomSeedAttempts && !generateCourse(seed, course); attempt++) seed++;
        ChampionshipCourse c = {};
        c.kind = championshipRandom;
        c.seed = seed;
        snprintf(c.name, sizeof c.name, "%s", course.name[0] ? course.name : "Random");
        plan.addCourse(c);
        seed++;
    }
    return plan;
}

bool Championship::findCourse(const ChampionshipCourse& entry, const CourseLibrary* courses, Course& out) {
    if (entry.kind == championshipBuiltIn) return builtInCourse(entry.builtIn, out);
    if (entry.kind == championshipRandom) return generateCourse(entry.seed, out);
    if (!courses) return false;
    int at = courses->find(entry.hash);
    if (at < 0) return false;
    out = courses->entry(at).course;
    return true;
}

bool Championship::start(Game& game, const ChampionshipProgress& plan) {
    ChampionshipProgress fresh;
    fresh.humans = plan.humans;
    for (int i = 0; i < plan.courseCount; i++) fresh.addCourse(plan.courses[i]);
    if (fresh.courseCount == 0) {
        snprintf(message, sizeof message, "There are no courses to race");
        return false;
    }
    ChampionshipProgress previous = progress;
    progress = fresh;
    if (!prepareRace(game)) {
        progress = previous;
        return false;
    }
    save();
    return true;
}

bool Championship::resume(Game& game) {
    char why[progressMessageSize] = "";
    ChampionshipProgress saved;
    if (!path[0] || loadProgress(path, saved, why, sizeof why) != progressLoaded) {
        snprintf(message, sizeof message, "The saved championship %s", why[0] ? why : "is gone");
        return false;
    }
    ChampionshipProgress previous = progress;
    progress = saved;
    if (progress.finished()) {
        before = standingsAfter(progress, progress.racesRun - 1);
        standings = standingsAfter(progress, progress.racesRun);
        if (builtTracks < 0) builtTracks = game.trackCount;
        game.startHeld = true;
        stage = podium;
        return true;
    }
    if (!prepareRace(game)) {
        progress = previous;
        return false;
    }
    return true;
}

// The next race's course and grid handed to the game, which waits on its grid for Space.
bool Championship::prepareRace(Game& game) {
    int next = progress.racesRun;
    Course course;
    if (next >= progress.courseCount || !findCourse(progress.courses[next], library, course)) {
        snprintf(message, sizeof message, "The course \"%s\" is missing or has changed",
                 next < progress.courseCount ? progress.courses[next].name : "?");
        return false;
    }
    if (builtTracks < 0) builtTracks = game.trackCount;
    // Player two on truck 1 in a series of two; the grid and the standings stay by truck.
    game.setHumans(progress.humans);
    before = standingsAfter(progress, next > 0 ? next - 1 : 0);
    standings = standingsAfter(progress, next);
    int grid[championshipTrucks];
    gridFromStandings(standings, grid);
    game.setGridOrder(grid);
    game.waitingForStart = true;
    game.currentTrack = 0;
    game.useCourse(0, course);  // resets the race: trucks on their new grid
    game.trackCount = 1;
    game.startHeld = true;
    message[0] = '\0';
    stage = board;
    return true;
}

void Championship::save() {
    if (!path[0] || saveProgress(path, progress)) return;
    if (!saveFailed) fprintf(stderr, "trailerdash: cannot write %s; the championship goes on unsaved\n", path);
    saveFailed = true;
}

bool Championship::pressed(int key) const { return keys.wasPressed(key); }

void Championship::startNextRace(Game& game) {
    // The Game starts the race on this same Space.
    game.startHeld = false;
    stage = racing;
}

void Championship::finishRace(Game& game) {
    int order[championshipTrucks];
    for (int p = 0; p < championshipTrucks; p++) order[p] = game.positionOrder[p];
    if (!progress.addResult(order)) return;
    save();
    if (progress.finished()) {
        before = standingsAfter(progress, progress.racesRun - 1);
        standings = standingsAfter(progress, progress.racesRun);
        stage = podium;
        return;
    }
    if (!prepareRace(game)) {
        // A course gone since the series began: the series ends here, its progress kept.
        fprintf(stderr, "trailerdash: %s; the championship stops here\n", message);
        close(game);
    }
}

void Championship::restartRace(Game& game) {
    game.held = false;
    game.raceOver = false;
    // Nothing of the race was kept: the board and grid are the ones it started from.
    if (!prepareRace(game)) {
        fprintf(stderr, "trailerdash: %s; the championship stops here\n", message);
        close(game);
    }
}

void Championship::giveUpRace(Game& game) {
    game.held = false;
    // The file still holds the series up to the last race finished; close forgets only what
    // is in memory, so the title's championship offers to continue it.
    close(game);
}

void Championship::close(Game& game) {
    pause.isOpen = false;
    if (progress.finished() && path[0]) remove(path);
    progress.clear();
    game.setGridOrder(nullptr);
    // The title's race is one player's.
    game.setHumans(1);
    // The title as the game had it: the built-in courses, alternating from the first.
    Course first;
    game.currentTrack = 0;
    if (builtInCourse(0, first)) game.useCourse(0, first);
    if (builtTracks > 0) game.trackCount = builtTracks;
    game.waitingForStart = true;
    game.raceOver = false;
    game.resetRace();
    // The Space that closed the board must not start a race.
    stage = leaving;
}

void Championship::update(Game& game) {
    switch (stage) {
    case off:
        return;
    case choosing: {
        int step = pressed(VK_DOWN) ? 1 : pressed(VK_UP) ? -1 : 0;
        for (int i = 0; i < choiceCount && step; i++) {
            chosen = (chosen + step + choiceCount) % choiceCount;
            if (chosen != continueSaved || savedOffered) break;
        }
        if (chosen == players && (pressed(VK_LEFT) || pressed(VK_RIGHT))) humans = humans == 1 ? 2 : 1;
        if (!pressed(VK_RETURN) && !pressed(VK_SPACE)) return;
        if (chosen == players) humans = humans == 1 ? 2 : 1;
        if (chosen == continueSaved && savedOffered) resume(game);
        if (chosen == allCourses) {
            ChampionshipProgress plan = planOfCourses(library);
            plan.humans = humans;
            start(game, plan);
        }
        if (chosen == randomCourses) {
            // A fresh seed each time, as the title's random course.
            uint64_t seed = (uint64_t)platform().queryPerformanceCounter() * 0x9E3779B97F4A7C15ull;
            ChampionshipProgress plan = randomPlan(seed, randomChampionshipRaces);
            plan.humans = humans;
            if (!prover) {
                ownProver.reset(new RaceProver());
                prover = ownProver.get();
            }
            // A few tens of milliseconds a course: proved at once, before the first board.
            if (proveRandomCourses(plan, *prover))
                start(game, plan);
            else
                snprintf(message, sizeof message, "no drivable random courses came from this seed: try again");
        }
        if (chosen == back) {
            stage = leaving;
            return;
        }
        if (stage == choosing && message[0]) fprintf(stderr, "trailerdash: %s\n", message);
        return;
    }
    case board:
        if (pressed(VK_SPACE)) startNextRace(game);
        return;
    case racing:
        if (pause.isOpen) {
            PauseMenu::Choice c = pause.update(game, false);
            if (c == PauseMenu::restart) restartRace(game);
            if (c == PauseMenu::toTitle) giveUpRace(game);
            return;
        }
        if (pressed(VK_ESCAPE) && !game.waitingForStart) {
            pause.open(game);
            game.history.dropRace();  // held as no replay could show
            return;
        }
        if (game.raceOver && game.waitingForStart) {
            game.startHeld = true;
            stage = results;
        } else if (game.waitingForStart && !prepareRace(game)) {
            // Left before its end (back to the title): the same race waits on its board again.
            close(game);
        }
        return;
    case results:
        if (pressed(VK_SPACE)) finishRace(game);
        return;
    case podium:
        if (pressed(VK_SPACE)) close(game);
        return;
    case leaving:
        if (keys.isDown(VK_SPACE) || keys.isDown(VK_RETURN)) return;
        game.startHeld = false;
        stage = off;
        return;
    }
}
