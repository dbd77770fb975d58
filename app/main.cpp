// Trailer Dash: a top-down race for articulated trucks.
#include "app/dataFolder.h"
#include "app/mainLoop.h"
#include "core/sanitizerSupport.h"
#include "app/sdlPlatform.h"

int main() {
    pinGLDrivers();
    SdlPlatform desktop;
    setPlatform(&desktop);
    enterDataFolder();
    int exitCode = runGame();
    setPlatform(nullptr);
    return exitCode;
}
