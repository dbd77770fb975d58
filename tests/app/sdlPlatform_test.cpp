// SDL events as the window procedure receives them.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "core/input.h"
#include "app/keyMap.h"
#include "app/sdlPlatform.h"

static SDL_Event keyEvent(Uint32 type, SDL_Keycode symbol, SDL_Scancode scancode, Uint16 mod = 0, Uint8 repeat = 0) {
    SDL_Event e = {};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = symbol;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    return e;
}

static WindowMessage translated(const SDL_Event& e) {
    WindowMessage msg = {0xFFFF, 0xFFFF, 0};
    EXPECT_TRUE(SdlPlatform::translateEvent(e, msg));
    return msg;
}

TEST(KeyMap, EveryKeyWithAVirtualCodeGetsIt) {
    // clang-format off
    struct Case {
        SDL_Keycode symbol;
        int code;
    } cases[] = {
        {SDLK_a, 'A'}, {SDLK_z, 'Z'}, {SDLK_0, '0'}, {SDLK_9, '9'}, {SDLK_LEFT, 37}, {SDLK_UP, 38},
        {SDLK_RIGHT, 39}, {SDLK_DOWN, 40}, {SDLK_SPACE, 32}, {SDLK_ESCAPE, 27}, {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13}, {SDLK_TAB, 9}, {SDLK_BACKSPACE, 8}, {SDLK_LSHIFT, 0x10}, {SDLK_RSHIFT, 0x10},
        {SDLK_LCTRL, 0x11}, {SDLK_RCTRL, 0x11}, {SDLK_LALT, 0x12}, {SDLK_RALT, 0x12}, {SDLK_F1, 0x70},
        {SDLK_F10, 0x79}, {SDLK_F12, 0x7B}, {SDLK_KP_0, 0x60}, {SDLK_KP_5, 0x65}, {SDLK_KP_9, 0x69},
        {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B}, {SDLK_KP_MINUS, 0x6D}, {SDLK_KP_PERIOD, 0x6E},
        {SDLK_KP_DIVIDE, 0x6F}, {SDLK_INSERT, 0x2D}, {SDLK_DELETE, 0x2E}, {SDLK_HOME, 0x24}, {SDLK_END, 0x23},
        {SDLK_PAGEUP, 0x21}, {SDLK_PAGEDOWN, 0x22}, {SDLK_SEMICOLON, 0xBA}, {SDLK_EQUALS, 0xBB},
        {SDLK_COMMA, 0xBC}, {SDLK_MINUS, 0xBD}, {SDLK_PERIOD, 0xBE}, {SDLK_SLASH, 0xBF}, {SDLK_BACKQUOTE, 0xC0},
        {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC}, {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
        {SDLK_CAPSLOCK, 0x14}, {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91}, {SDLK_PAUSE, 0x13},
        {SDLK_PRINTSCREEN, 0x2C},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyOf(c.symbol, SDL_GetScancodeFromKey(c.symbol)), c.code) << SDL_GetKeyName(c.symbol);
    }
    // A letter on a non-Latin layout is found by its place on the keyboard.
    EXPECT_EQ(virtualKeyOf(0x43F /* Cyrillic pe */, SDL_SCANCODE_G), 'G');
    // Keys with no virtual code give none and are not sent.
    EXPECT_EQ(virtualKeyOf(SDLK_AUDIONEXT, SDL_SCANCODE_AUDIONEXT), -1);
    EXPECT_EQ(virtualKeyOf(0x20AC /* euro sign */, SDL_SCANCODE_UNKNOWN), -1);
    WindowMessage msg;
    EXPECT_FALSE(SdlPlatform::translateEvent(keyEvent(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), msg));
}

TEST(SdlEvents, KeysGoAsKeyMessagesAndAltCombinationsAsMenuKeys) {
    WindowMessage down = translated(keyEvent(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP));
    EXPECT_EQ(down.message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(down.wParam, 38u);
    WindowMessage repeat = translated(keyEvent(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, 0, 1));
    EXPECT_EQ(repeat.message, (unsigned)WM_KEYDOWN) << "held keys repeat, as on Windows";
    WindowMessage up = translated(keyEvent(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP));
    EXPECT_EQ(up.message, (unsigned)WM_KEYUP);
    EXPECT_EQ(up.wParam, 38u);

    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT)).message,
              (unsigned)WM_SYSKEYDOWN);
    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_x, SDL_SCANCODE_X, KMOD_LALT)).message, (unsigned)WM_SYSKEYDOWN);
    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10)).message, (unsigned)WM_SYSKEYDOWN);
    EXPECT_EQ(translated(keyEvent(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT)).message, (unsigned)WM_SYSKEYUP);
    // Ctrl+Alt is AltGr, which types: plain key messages.
    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_LCTRL | KMOD_RALT)).message,
              (unsigned)WM_KEYDOWN);
    // A driving key let go while Alt is held must still come up.
    WindowMessage release = translated(keyEvent(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP, KMOD_LALT));
    EXPECT_EQ(release.message, (unsigned)WM_KEYUP);
    EXPECT_EQ(release.wParam, 38u);
}

TEST(SdlEvents, ButtonsWheelWindowAndQuit) {
    SDL_Event e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    EXPECT_EQ(translated(e).message, (unsigned)WM_RBUTTONDOWN);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_MIDDLE;
    EXPECT_EQ(translated(e).message, (unsigned)WM_MBUTTONUP);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    EXPECT_EQ(translated(e).message, (unsigned)WM_LBUTTONDOWN);
    e.button.button = SDL_BUTTON_X1;
    WindowMessage msg;
    EXPECT_FALSE(SdlPlatform::translateEvent(e, msg)) << "Windows sends the side buttons as other messages";

    SDL_Event wheel = {};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -2;
    msg = translated(wheel);
    EXPECT_EQ(msg.message, (unsigned)WM_MOUSEWHEEL);
    EXPECT_EQ((int16_t)(msg.wParam >> 16), -240);
    wheel.wheel.y = 1;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_EQ((int16_t)(translated(wheel).wParam >> 16), -120);
    wheel.wheel.y = 1000;
    wheel.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    EXPECT_EQ((int16_t)(translated(wheel).wParam >> 16), 32767) << "a huge scroll is clamped, never wrapped";
    wheel.wheel.y = 0;
    wheel.wheel.x = 3;
    EXPECT_FALSE(SdlPlatform::translateEvent(wheel, msg));

    SDL_Event w = {};
    w.type = SDL_WINDOWEVENT;
    w.window.event = SDL_WINDOWEVENT_MINIMIZED;
    msg = translated(w);
    EXPECT_EQ(msg.message, (unsigned)WM_ACTIVATE);
    EXPECT_EQ((msg.wParam >> 16) & 0xFFFF, 1u);
    w.window.event = SDL_WINDOWEVENT_RESTORED;
    EXPECT_EQ((translated(w).wParam >> 16) & 0xFFFF, 0u);
    w.window.event = SDL_WINDOWEVENT_HIDDEN;
    EXPECT_EQ((translated(w).wParam >> 16) & 0xFFFF, 1u);
    w.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    msg = translated(w);
    EXPECT_EQ(msg.wParam, makeWParam(WA_INACTIVE, 0)) << "deactivation alone is not minimising";
    w.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_EQ(translated(w).message, (unsigned)WM_CLOSE);
    w.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    w.window.data1 = 640;
    w.window.data2 = 480;
    msg = translated(w);
    EXPECT_EQ(msg.message, (unsigned)WM_SIZE);
    EXPECT_EQ(msg.lParam, (480 << 16) | 640);

    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translated(quit).message, (unsigned)WM_CLOSE) << "a stop request closes as the close box does";
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    EXPECT_FALSE(SdlPlatform::translateEvent(text, msg));
}

TEST(SdlEvents, PumpedEventsArriveOneMessagePerPeekInOrder) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SdlPlatform sdl;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event down = keyEvent(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE);
    SDL_Event unknown = keyEvent(SDL_KEYDOWN, SDLK_AUDIOMUTE, SDL_SCANCODE_AUDIOMUTE);
    SDL_Event up = keyEvent(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE);
    SDL_PushEvent(&down);
    SDL_PushEvent(&unknown);
    SDL_PushEvent(&up);
    WindowMessage msg;
    ASSERT_TRUE(sdl.peekMessage(msg));
    EXPECT_EQ(msg.message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, 32u);
    ASSERT_TRUE(sdl.peekMessage(msg));
    EXPECT_EQ(msg.message, (unsigned)WM_KEYUP);
    EXPECT_FALSE(sdl.peekMessage(msg)) << "nothing waits, and the peek did not block";
    // The idle wait wakes for an event and hands it over as its message.
    SDL_PushEvent(&down);
    sdl.waitMessage();
    EXPECT_EQ(sdl.pendingMessages(), 1);
    ASSERT_TRUE(sdl.peekMessage(msg));
    EXPECT_EQ(msg.message, (unsigned)WM_KEYDOWN);

    // A flood larger than the queue is kept back, not lost.
    const int flood = Platform::queueCapacity + 100;
    SDL_Event move = {};
    move.type = SDL_MOUSEMOTION;
    int pushed = 0;
    for (int i = 0; i < flood; i++) pushed += SDL_PushEvent(&move) == 1;
    int received = 0;
    while (sdl.peekMessage(msg)) received += msg.message == WM_MOUSEMOVE;
    printf("pushed %d motion events, received %d messages\n", pushed, received);
    EXPECT_EQ(received, pushed);
    sdl.postQuitMessage(5);
    ASSERT_TRUE(sdl.peekMessage(msg));
    EXPECT_EQ(msg.message, (unsigned)WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_GT(sdl.queryPerformanceFrequency(), 0);
    EXPECT_GT(sdl.queryPerformanceCounter(), 0);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(SdlMessageBox, WithNoDisplayAQuestionIsAnsweredNoAndTheTextGoesToStderr) {
    const char* display = getenv("DISPLAY");
    std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    SdlPlatform sdl;
    testing::internal::CaptureStderr();
    int answer = sdl.messageBox("Would you like to run fullscreen?", "Run Fullscreen?", MB_YESNO | MB_ICONQUESTION);
    int ok = sdl.messageBox("Image::LoadBMP() Error \nx.bmp not found\n", "", MB_OK);
    std::string err = testing::internal::GetCapturedStderr();
    if (display) setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(ok, IDOK);
    EXPECT_NE(err.find("Run Fullscreen?: Would you like to run fullscreen?"), std::string::npos) << err;
    EXPECT_NE(err.find("x.bmp not found"), std::string::npos) << err;
}
