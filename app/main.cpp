// Trailer Dash: a top-down race for articulated trucks.
//   trailerdash                 races
//   trailerdash --replay FILE   plays a recorded race
//   trailerdash --time-attack   races alone against the ghosts
//   trailerdash --autopilot     the player's truck drives itself (a demo; the system tests' driver)
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/dataFolder.h"
#include "app/mainLoop.h"
#include "app/replayPlayback.h"
#include "core/sanitizerSupport.h"
#include "app/sdlPlatform.h"
#include "records/replay.h"
#include "app/videoDriver.h"

int main(int argc, char** argv) {
    const char* replayPath = nullptr;
    bool timeAttack = false;
    bool autopilot = false;
    // Anything else on the command line is ignored, as it always was.
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--time-attack") == 0) timeAttack = true;
        if (strcmp(argv[i], "--autopilot") == 0) autopilot = true;
        if (strcmp(argv[i], "--replay") != 0) continue;
        if (i + 1 >= argc) {
            fprintf(stderr, "usage: trailerdash [--replay FILE] [--time-attack] [--autopilot]\n");
            return 2;
        }
        replayPath = argv[++i];
    }
    pinGLDrivers();
    if (!startVideo()) return 1;
    SdlPlatform desktop;
    setPlatform(&desktop);
    std::unique_ptr<Replay> replay;
    std::unique_ptr<ReplayPlatform> player;
    if (replayPath) {
        // Read before the data folder is entered: the path is the user's, relative to where they are.
        replay.reset(new Replay());
        if (!loadReplayToPlay(replayPath, *replay)) {
            setPlatform(nullptr);
            return 1;
        }
        player.reset(new ReplayPlatform(desktop, *replay));
        setPlatform(player.get());
    }
    enterDataFolder();
    int exitCode = runGame(player.get(), timeAttack, autopilot);
    setPlatform(nullptr);
    stopVideo();
    return exitCode;
}
