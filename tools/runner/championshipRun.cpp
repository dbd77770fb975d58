#include "tools/runner/championshipRun.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "front/championship.h"
#include "race/game.h"
#include "race/player.h"
#include "track/courseFile.h"
#include "track/courseLibrary.h"

// Generated races one item may ask for.
static const int maxRandomItemRaces = maxChampionshipRaces;

// The whole text as a number from 0 to most.
static bool wholeNumber(const char* text, unsigned long long most, unsigned long long& value) {
    if (!text || !*text) return false;
    for (const char* p = text; *p; p++)
        if (*p < '0' || *p > '9') return false;
    errno = 0;
    value = strtoull(text, nullptr, 10);
    return errno == 0 && value <= most;
}

// One item of the list into plan.
static bool addItem(const char* item, ChampionshipProgress& plan, FILE* err) {
    unsigned long long n;
    if (wholeNumber(item, 99, n)) {
        Course course;
        if (!builtInCourse((int)n, course)) {
            fprintf(err, "trailerdash-runner: --championship: there is no built-in course %llu\n", n);
            return false;
        }
        ChampionshipCourse c = {};
        c.kind = championshipBuiltIn;
        c.builtIn = (int)n;
        snprintf(c.name, sizeof c.name, "%s", course.name);
        return plan.addCourse(c);
    }
    if (strncmp(item, "random:", 7) == 0) {
        char races[16] = "";
        const char* colon = strchr(item + 7, ':');
        size_t length = colon ? (size_t)(colon - (item + 7)) : strlen(item + 7);
        unsigned long long count, seed = 1;
        if (length >= sizeof races) return false;
        memcpy(races, item + 7, length);
        races[length] = '\0';
        if (!wholeNumber(races, maxRandomItemRaces, count) || count < 1) return false;
        if (colon && !wholeNumber(colon + 1, UINT64_MAX, seed)) return false;
        ChampionshipProgress random = Championship::randomPlan(seed, (int)count);
        for (int i = 0; i < random.courseCount; i++)
            if (!plan.addCourse(random.courses[i])) return false;
        return true;
    }
    Course course;
    char why[courseMessageSize];
    if (!loadCourseFile(item, course, why, sizeof why)) {
        fprintf(err, "trailerdash-runner: %s\n", why);
        return false;
    }
    ChampionshipCourse c = {};
    c.kind = championshipFile;
    c.hash = courseHash(course);
    snprintf(c.name, sizeof c.name, "%s", course.name[0] ? course.name : "Course");
    return plan.addCourse(c);
}

bool parseChampionshipList(const char* list, ChampionshipProgress& plan, FILE* err) {
    plan.clear();
    char item[1024];
    // Every comma ends an item, so "0," names an empty one.
    for (const char* at = list; at;) {
        const char* comma = strchr(at, ',');
        size_t length = comma ? (size_t)(comma - at) : strlen(at);
        bool ok = length > 0 && length < sizeof item;
        if (ok) {
            memcpy(item, at, length);
            item[length] = '\0';
            ok = addItem(item, plan, err);
        }
        if (!ok) {
            if (plan.courseCount >= maxChampionshipRaces)
                fprintf(err, "trailerdash-runner: a championship holds at most %d races\n", maxChampionshipRaces);
            fprintf(err, "trailerdash-runner: --championship cannot take \"%.*s\"\n", (int)length, at);
            return false;
        }
        at = comma ? comma + 1 : nullptr;
    }
    if (plan.courseCount == 0) {
        fprintf(err, "trailerdash-runner: --championship names no course\n");
        return false;
    }
    return true;
}

bool championshipCoursesFound(const ChampionshipProgress& plan, const CourseLibrary& library, FILE* err) {
    for (int i = 0; i < plan.courseCount; i++) {
        Course course;
        if (Championship::findCourse(plan.courses[i], &library, course)) continue;
        fprintf(err,
                "trailerdash-runner: --championship: the course \"%s\" is not among the game's courses (shipped or "
                "the player's own folder)\n",
                plan.courses[i].name);
        return false;
    }
    return true;
}

void printStandings(FILE* out, const Game& game, const Championship& c) {
    const ChampionshipProgress& p = c.progress;
    const Standings& s = c.standings;
    int last = p.racesRun - 1;
    fprintf(out, "Standings after race %d of %d (%s)%s\n", p.racesRun, p.courseCount,
            last >= 0 ? p.courses[last].name : "", p.finished() ? ": final" : "");
    fprintf(out, "Place  Truck  Name          Points  Wins  Race\n");
    for (int k = 0; k < championshipTrucks; k++) {
        int t = s.order[k];
        const Player* player = game.players[t];
        fprintf(out, "%-5d  %-5d  %-12.12s  %-6d  %-4d  %d\n", k + 1, t, player ? player->getName() : "?", s.points[t],
                s.placeCounts[t][0], s.lastPlace[t] + 1);
    }
    if (!p.finished()) {
        // The next grid, from the back: the leader starts last.
        fprintf(out, "Next race on %s; grid from the back:", p.courses[p.racesRun].name);
        for (int slot = 0; slot < championshipTrucks; slot++) fprintf(out, " %d", game.gridOrder[slot]);
        fprintf(out, "\n");
    }
}
