// Trailer Dash: a top-down race for articulated trucks.
#include "app/dataFolder.h"
#include "app/mainLoop.h"
#include "core/sanitizerSupport.h"
#include "app/sdlPlatform.h"
#include "app/videoDriver.h"

int main() {
    pinGLDrivers();
    if (!startVideo()) return 1;
    SdlPlatform desktop;
    setPlatform(&desktop);
    enterDataFolder();
    int exitCode = runGame();
    setPlatform(nullptr);
    stopVideo();
    return exitCode;
}
