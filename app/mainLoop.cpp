#include "app/mainLoop.h"

#include <cstdio>

#include "app/gamepad.h"
#include "app/glWindow.h"
#include "app/quitSignal.h"
#include "app/replayPlayback.h"
#include "app/screenSwitch.h"
#include "app/selfDriving.h"
#include "app/soundDevice.h"
#include "core/input.h"
#include "app/keyMap.h"
#include "front/frontScreens.h"
#include "front/recordProof.h"
#include "front/timeAttack.h"
#include "graphics/soundOffMark.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/gameFrame.h"
#include "records/championshipProgress.h"
#include "records/storage.h"

bool windowActive = false;
int unhandledMessageCount = 0;

int64_t defaultWindowProc(void*, unsigned, uint64_t, int64_t) {
    unhandledMessageCount++;
    return 0;
}

// Key codes beyond one byte are not virtual keys; they must not wrap onto one.
static int keyCodeOf(uint64_t wParam) { return wParam < 256 ? (int)wParam : -1; }

int64_t windowProc(void* window, unsigned message, uint64_t wParam, int64_t lParam) {
    switch (message) {
    case WM_ACTIVATE:
        // Only minimising stops the frames; losing the focus alone does not.
        windowActive = ((wParam >> 16) & 0xFFFF) == 0;
        sound.setPaused(!windowActive);
        return 0;
    case WM_SIZE:
        // The projection stays as it was made; the picture is scaled to the new size.
        if (glWindow.getWindowHandle()) glWindow.fitToDrawable();
        return 0;
    case WM_CLOSE:
        platform().postQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        desktopKey(message, wParam, lParam);
        keys.keyDown(keyCodeOf(wParam));
        return 0;
    case WM_KEYUP:
        keys.keyUp(keyCodeOf(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        mouse.leftButtonDown();
        return 0;
    case WM_LBUTTONUP:
        mouse.leftButtonUp();
        return 0;
    case WM_RBUTTONDOWN:
        mouse.rightButtonDown();
        return 0;
    case WM_RBUTTONUP:
        mouse.rightButtonUp();
        return 0;
    case WM_MBUTTONDOWN:
        mouse.middleButtonDown();
        return 0;
    case WM_MBUTTONUP:
        mouse.middleButtonUp();
        return 0;
    case WM_MOUSEWHEEL:
        // The delta is the signed high word.
        mouse.setWheel((int16_t)((wParam >> 16) & 0xFFFF) > 0 ? 1 : -1);
        return 0;
    case WM_SYSKEYDOWN:
        if (!desktopKey(message, wParam, lParam)) return defaultWindowProc(window, message, wParam, lParam);
        return 0;
    default:
        return defaultWindowProc(window, message, wParam, lParam);
    }
}

MainLoop::MainLoop(Game& g) : game(g), done(false), messageRetrieved(false), lastMessage{0, 0, 0}, framesRun(0) {}

void MainLoop::pass() {
    if (done) return;
    WindowMessage msg;
    if (platform().peekMessage(msg)) {
        lastMessage = msg;
        messageRetrieved = true;
        if (msg.message == WM_QUIT) {
            done = true;
            return;
        }
        // A window that was given its own procedure gets its messages there, as Windows would
        // dispatch them; tests without a window use the game's procedure directly.
        WindowProcedure procedure = glWindow.windowProcedure ? glWindow.windowProcedure : windowProc;
        if (screens) screens->message(msg);
        // The race's keys as the player bound them, and its replay records the race's own input,
        // not the editor's.
        if (!screens || screens->shown() == ScreenSwitch::race) {
            remapKey(msg);
            game.history.noteMessage(msg.message, msg.wParam, msg.lParam);
        }
        procedure(glWindow.getWindowHandle(), msg.message, msg.wParam, msg.lParam);
        return;
    }
    if (windowActive)
        frame(drawEvery <= 1 || framesRun % drawEvery == 0);
    else
        platform().waitMessage();
}

void MainLoop::remapKey(WindowMessage& msg) const {
    if (!front || (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)) return;
    // A pad's keys (no scancode) are the game's own; only the keyboard is rebound.
    if (((msg.lParam >> 16) & 0xFF) == 0) return;
    int raw = msg.wParam < 256 ? (int)msg.wParam : -1;
    if (raw < 0) return;
    int codes[keyActionCount];
    for (int a = 0; a < keyActionCount; a++) codes[a] = keyActionCode(a);
    // Player two's keys only in a two-player race: outside one A zooms in, as it always did.
    KeyRemap alone, together;
    alone.build(front->settings.keys, codes, keyPlayerOneActions);
    together.build(front->settings.keys, codes, keyActionCount);
    // A key let go is let go under every name it has, alone or beside a friend, so none stays
    // down when a menu opens or the number of players changes while it is held.
    if (msg.message == WM_KEYUP) {
        keys.keyUp(raw);
        keys.keyUp(alone.apply(raw));
        keys.keyUp(together.apply(raw));
    }
    if (!front->racingKeys() || (timeAttack && timeAttack->pause.isOpen)) return;
    int mapped = (game.humans() > 1 ? together : alone).apply(raw);
    msg.wParam = mapped < 0 ? 256 : (uint64_t)mapped;  // beyond the keys: nothing
}

// Over the finished picture, so the mark shows on every screen of the game.
static void swapWindowBuffers() {
    if (soundMuted) drawSoundOffMark();
    glWindow.swapBuffers();
}

void MainLoop::frame(bool draw) {
    // Player two's pad drives truck 1 only in a two-player race; keys changing hands go through
    // the queue as any pad's do, so the race's replay has them. A replay's keys are its own.
    if (front) {
        WindowMessage handed[GamepadInput::mostMessages];
        int count = gamepads.setTwoPlayers(game.humans() > 1, handed, GamepadInput::mostMessages);
        for (int i = 0; i < count; i++) platform().postMessage(handed[i].message, handed[i].wParam, handed[i].lParam);
    }
    if (front && front->editorAsked && screens) {
        front->editorAsked = false;
        screens->openEditor();
    }
    if (front && front->timeAttackAsked && timeAttack) {
        front->timeAttackAsked = false;
        timeAttack->start(game, prover);
    }
    if (screens && screens->frame(swapWindowBuffers, draw)) {
        framesRun++;
        if (draw) frameCap.wait(platform());
        return;
    }
    if (selfDriving) selfDriving->steer(game);
    // Escape ends the loop, but this frame is still updated, drawn and shown. While the help
    // is open Escape closes it instead.
    if (keys.isDown(VK_ESCAPE) && !game.help.takesEscape() && !(over && over->takesEscape(game))) done = true;
    if (front) {
        const Settings& s = front->settings;
        soundChoices.master = s.volume[volumeMaster] / 100.0f;
        soundChoices.engines = s.volume[volumeEngines] / 100.0f;
        soundChoices.effects = s.volume[volumeEffects] / 100.0f;
        soundChoices.beeps = front->quick.beeps;
        soundChoices.goes = front->quick.goes;
        // The stuck hint names the recovery keys as the players bound them.
        const int recoverActions[Game::maxHumans] = {keyRecover, keyPlayer2Recover};
        for (int h = 0; h < Game::maxHumans; h++) {
            char spelled[sizeof game.recoverKeyName[h]];
            const char* name = keyName(s.keys[recoverActions[h]], spelled, (int)sizeof spelled);
            snprintf(game.recoverKeyName[h], sizeof game.recoverKeyName[h], "%s", name);
        }
    }
    // Two humans: a view each over the whole window, at its own resolution.
    glWindow.splitScreen(game.humans() > 1);
    if (glWindow.picture.width > 0)
        game.drawable = {glWindow.drawableWidth, glWindow.drawableHeight, (float)glWindow.picture.width / pictureWidth};
    // Each engine from its player's side when the views stand side by side; centred otherwise.
    panHumansForSplit(soundChoices, game.humans() > 1 && viewsSideBySide(game.drawable));
    runGameFrame(game, swapWindowBuffers, draw, over);
    listenToRace(game);
    framesRun++;
    if (draw) frameCap.wait(platform());
}

void MainLoop::run() {
    while (!done) pass();
}

int MainLoop::exitCode() const {
    // Only a quit message carries an exit code. When Escape ends the loop the last message is
    // often the key itself, whose code 27 must not become a failure status.
    return messageRetrieved && lastMessage.message == WM_QUIT ? (int)(int64_t)lastMessage.wParam : 0;
}

// The player's own courses, beside their records.
static bool playerCoursesFolder(char* buffer, int size) {
    char folder[storagePathSize];
    return storageFolder(folder, sizeof folder) && snprintf(buffer, (size_t)size, "%s/courses", folder) < size;
}

int runGame(ReplayPlatform* player, bool startTimeAttack, bool autopilot) {
    Game game;
    MainLoop loop(game);
    // Outlives the loop it is handed to.
    FrontScreens front;
    CourseChoice& choice = front.choice;
    ScreenSwitch screens(game);
    // A replay plays the race alone: its keys are the recorded ones.
    if (!player) loop.screens = &screens;
    // The player's settings; a replay plays with none of them.
    if (!player && settingsPath(front.settingsFile, sizeof front.settingsFile)) {
        front.settings.load(front.settingsFile, stderr);
        FILE* found = fopen(front.settingsFile, "rb");
        front.namesRecords = found != nullptr;
        if (found) fclose(found);
    }
    // Time attack over the front screens, which show beneath it while it is off.
    TimeAttack timeAttack;
    timeAttack.under = &front;
    // Drives best replays again to prove the records, on a game of its own.
    RecordProver prover(&choice.library);
    loop.timeAttack = &timeAttack;
    loop.prover = &prover;
    // A replay's keys are the recorded ones: no autopilot beside them.
    SelfDriving selfDriving;
    if (autopilot && !player) loop.selfDriving = &selfDriving;

    int answer = front.settings.start == startWindowed ? IDNO : IDYES;
    if (player || front.settings.start == startAsk) {
        // A stop signal while the question waits ends the program as it ends the running game.
        QuitOnSignal quitOnSignal;
        answer = platform().messageBox("Would you like to run fullscreen?\nnote: this may not work on some displays",
                                       "Run Fullscreen?", MB_YESNO | MB_ICONQUESTION);
    }
    bool fullScreen = answer != IDNO;
    // Without a window the loop runs no pass. Nor is anything loaded: with no GL context GLU
    // cannot build a texture (it reads a null version string and crashes).
    bool windowMade = glWindow.create("GL Framework", 640, 480, 32, 16, fullScreen, windowProc, nullptr);
    loop.done = !windowMade;
    // Swaps that do not wait for the display would run the loop flat out; a replay keeps its own
    // pace on the desktop's clock.
    if (windowMade && glWindow.swapInterval == 0 && !player)
        loop.frameCap.setRate(glWindow.displayRefresh(), platform().queryPerformanceFrequency());
    if (windowMade) {
        sound.open();
        startGamepads();
        initTextures();
        game.load();
        char folder[storagePathSize];
        // The shipped courses are in the data folder, the working one by now.
        char own[storagePathSize];
        choice.gather(shippedCoursesFolder, playerCoursesFolder(own, sizeof own) ? own : nullptr, player ? nullptr : stderr);
        if (player) {
            // A race on a course file plays only on that very course.
            if (player->placeCourse(game, choice.library)) {
                player->playInto(game);
                loop.over = player->countdownOver();
            } else
                loop.done = true;
        } else if (storageFolder(folder, sizeof folder)) {
            game.history.setProver(&RecordProver::proveForHistory, &prover);
            game.history.keepIn(folder, stderr);
            // The championship's progress beside the records, its courses from the title's list.
            char progress[storagePathSize + 16];
            if (makeFolders(folder) && progressPath(folder, progress, sizeof progress))
                front.championship.setUp(progress, &choice.library);
        } else {
            fprintf(stderr, "trailerdash: no home folder; records and replays are not kept\n");
        }
        if (!player) {
            loop.over = &timeAttack;
            loop.front = &front;
        }
        if (!player && startTimeAttack) timeAttack.start(game, &prover);
    }

    loop.run();

    if (windowMade) {
        // The race under way is kept as a replay.
        game.history.stop();
        stopGamepads();
        sound.close();
        releaseTextures();
    }
    glWindow.destroy();
    // A game that never showed its window has failed, whatever the loop's code says.
    if (!windowMade) {
        fprintf(stderr, "trailerdash: no window could be opened\n");
        return 1;
    }
    if (player && !player->coursePlaced) return 1;
    return loop.exitCode();
}
