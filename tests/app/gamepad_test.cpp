// Gamepad events fed to the platform layer come out as the keyboard's key messages.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "app/gamepad.h"
#include "app/mainLoop.h"
#include "app/sdlPlatform.h"
#include "core/input.h"

class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        WindowMessage ignored[GamepadInput::mostMessages];
        gamepads.closeAll(ignored, GamepadInput::mostMessages);
        gamepads.setTwoPlayers(false, ignored, GamepadInput::mostMessages);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    void button(SDL_JoystickID pad, int which, bool down) {
        SDL_Event e = {};
        e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
        e.cbutton.which = pad;
        e.cbutton.button = (Uint8)which;
        e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&e);
    }
    void axis(SDL_JoystickID pad, int which, int value) {
        SDL_Event e = {};
        e.type = SDL_CONTROLLERAXISMOTION;
        e.caxis.which = pad;
        e.caxis.axis = (Uint8)which;
        e.caxis.value = (Sint16)value;
        SDL_PushEvent(&e);
    }
    void unplug(SDL_JoystickID pad) {
        SDL_Event e = {};
        e.type = SDL_CONTROLLERDEVICEREMOVED;
        e.cdevice.which = pad;
        SDL_PushEvent(&e);
    }
    // The key messages waiting, as "down 38, up 38" and so on.
    std::string received() {
        std::string text;
        WindowMessage msg;
        while (sdl.peekMessage(msg)) {
            if (!text.empty()) text += ", ";
            text += msg.message == WM_KEYDOWN ? "down " : msg.message == WM_KEYUP ? "up " : "other ";
            text += std::to_string(msg.wParam);
        }
        return text;
    }
    SdlPlatform sdl;
};

TEST_F(GamepadTest, ButtonsAreTheKeyboardsKeys) {
    const struct {
        int button;
        int key;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
        {SDL_CONTROLLER_BUTTON_A, VK_SPACE},        {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},
        {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 'A'},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 'Z'}, {SDL_CONTROLLER_BUTTON_Y, 'R'},
        {SDL_CONTROLLER_BUTTON_START, VK_RETURN},
    };
    for (const auto& c : cases) {
        button(3, c.button, true);
        button(3, c.button, false);
        std::string want = "down " + std::to_string(c.key) + ", up " + std::to_string(c.key);
        EXPECT_EQ(received(), want) << SDL_GameControllerGetStringForButton((SDL_GameControllerButton)c.button);
    }
    button(3, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(received(), "") << "a button with no key gives nothing";
}

TEST_F(GamepadTest, StickPastHalfPressesAndOnlyTheDeadZoneReleases) {
    axis(1, SDL_CONTROLLER_AXIS_LEFTY, -10000);
    EXPECT_EQ(received(), "") << "short of half way";
    axis(1, SDL_CONTROLLER_AXIS_LEFTY, -20000);
    axis(1, SDL_CONTROLLER_AXIS_LEFTY, -12000);
    EXPECT_EQ(received(), "down 38") << "pushed away is Up, and easing off a little keeps it";
    axis(1, SDL_CONTROLLER_AXIS_LEFTY, -3000);
    EXPECT_EQ(received(), "up 38");
    // Straight across from left to right: Left goes up as Right goes down.
    axis(1, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    axis(1, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(received(), "down 37, up 37, down 39");
    axis(1, SDL_CONTROLLER_AXIS_RIGHTX, 30000);
    EXPECT_EQ(received(), "") << "the right stick is not used";

    // The D-pad and the stick both hold Right: the key stays down until both let go.
    button(1, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    axis(1, SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(received(), "");
    // A second pad holding Up, then both unplugged: every key they held comes up.
    button(2, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    unplug(1);
    unplug(2);
    EXPECT_EQ(received(), "down 38, up 39, up 38");

    // Through the window procedure the pad drives the game's key state like the keyboard.
    keys = Keys();
    button(4, SDL_CONTROLLER_BUTTON_A, true);
    WindowMessage msg;
    ASSERT_TRUE(sdl.peekMessage(msg));
    windowProc(nullptr, msg.message, msg.wParam, msg.lParam);
    EXPECT_TRUE(keys.isDown(VK_SPACE));
}

// The first pad is player one's and the next player two's; in a two-player race player two's
// drives on player two's codes and keeps only the buttons that are everybody's.
TEST_F(GamepadTest, TheSecondPadIsPlayerTwosInATwoPlayerRace) {
    WindowMessage out[GamepadInput::mostMessages];
    auto handed = [&out](int count) {
        std::string text;
        for (int i = 0; i < count; i++)
            text += (i ? ", " : "") + std::string(out[i].message == WM_KEYDOWN ? "down " : "up ") +
                    std::to_string(out[i].wParam);
        return text;
    };
    // A button let go makes a pad known without pressing anything.
    button(5, SDL_CONTROLLER_BUTTON_A, false);
    button(6, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(received(), "");
    EXPECT_EQ(gamepads.playerOf(5), 0);
    EXPECT_EQ(gamepads.playerOf(6), 1);
    EXPECT_EQ(handed(gamepads.setTwoPlayers(true, out, GamepadInput::mostMessages)), "");
    const struct {
        SDL_JoystickID pad;
        int button;
        int key;  // -1: nothing
    } cases[] = {
        {5, SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
        {6, SDL_CONTROLLER_BUTTON_DPAD_UP, VK_PLAYER2_UP},
        {6, SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_PLAYER2_LEFT},
        {6, SDL_CONTROLLER_BUTTON_A, VK_SPACE},
        {6, SDL_CONTROLLER_BUTTON_START, VK_RETURN},
        {6, SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},
        {6, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, -1},       // zooming is player one's
        {6, SDL_CONTROLLER_BUTTON_Y, VK_PLAYER2_RECOVER},  // player two's own recovery
        {5, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 'A'},
    };
    for (const auto& c : cases) {
        button(c.pad, c.button, true);
        button(c.pad, c.button, false);
        std::string want = c.key < 0 ? "" : "down " + std::to_string(c.key) + ", up " + std::to_string(c.key);
        EXPECT_EQ(received(), want) << "pad " << c.pad << " "
                                    << SDL_GameControllerGetStringForButton((SDL_GameControllerButton)c.button);
    }
    // Player two's stick held as the race ends: it lets go of their code and holds player one's.
    axis(6, SDL_CONTROLLER_AXIS_LEFTY, -30000);
    EXPECT_EQ(received(), "down " + std::to_string(VK_PLAYER2_UP));
    EXPECT_EQ(handed(gamepads.setTwoPlayers(false, out, GamepadInput::mostMessages)),
              "down 38, up " + std::to_string(VK_PLAYER2_UP));
    axis(6, SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(received(), "up 38");
    // Player one's pad unplugged mid-race: the next pad plugged in is theirs, then a third helps them.
    unplug(5);
    button(7, SDL_CONTROLLER_BUTTON_A, false);
    button(8, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(received(), "");
    EXPECT_EQ(gamepads.playerOf(7), 0);
    EXPECT_EQ(gamepads.playerOf(8), 0);
    EXPECT_EQ(gamepads.playerOf(6), 1);
}

TEST_F(GamepadTest, APadPluggedInDuringTheGameDrivesAndUnpluggingLetsGo) {
    startGamepads();
    // SDL's virtual pad stands in for a real one, hot-plug events and all.
    SDL_VirtualJoystickDesc desc = {};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    EXPECT_EQ(received(), "") << "plugging in presses nothing";
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr) << "the added pad was opened";

    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    EXPECT_EQ(received(), "down 32");
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -30000);
    EXPECT_EQ(received(), "down 38");
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
    EXPECT_EQ(received(), "up 32");
    // Pulled out with the stick still pushed: Up must not stay down in the game.
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(received(), "up 38");
    stopGamepads();
}
