#pragma once
// Keyboard and mouse state. The window procedure only records; the game polls during its frame.
#include <cstdint>

struct Texture;

// Windows virtual-key codes: the letters and digits are their upper-case ASCII codes.
// clang-format off
enum : int {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
    VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F10 = 0x79, VK_F12 = 0x7B, VK_F24 = 0x87,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5,
    // US-layout punctuation: ;  =  ,  -  .  /  `  [  \  ]  '  and the extra key of ISO keyboards.
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
    VK_OEM_102 = 0xE2,
    // Player two's four driving actions and recovery: codes in a gap no keyboard sends (past
    // F24), so the keys bound to them, W A S D and E unless rebound, and the second gamepad never
    // meet another action's.
    VK_PLAYER2_LEFT = 0x88, VK_PLAYER2_RIGHT = 0x89, VK_PLAYER2_UP = 0x8A, VK_PLAYER2_DOWN = 0x8B,
    VK_PLAYER2_RECOVER = 0x8C,
};
// clang-format on

class Keys {
public:
    Keys();
    virtual ~Keys();
    // Codes outside 0..255 read as up and are ignored when written.
    bool isDown(int code) const { return valid(code) && down[code] != 0; }
    bool wasPressed(int code) const { return valid(code) && down[code] && !previous[code]; }
    void keyDown(int code) {
        if (valid(code)) down[code] = 1;
    }
    void keyUp(int code) {
        if (valid(code)) down[code] = 0;
    }
    // Rolls this frame's flags over into the previous frame's; the loop's last step.
    void endFrame();

    uint8_t down[256];
    uint8_t previous[256];

private:
    static bool valid(int code) { return code >= 0 && code < 256; }
};

class Mouse {
public:
    Mouse();
    virtual ~Mouse();
    // Once a frame, first: clears the edge flags and the wheel and samples the pointer.
    void update();
    void leftButtonDown() {
        leftDown = true;
        leftPressed = true;
    }
    void leftButtonUp() {
        leftDown = false;
        leftReleased = true;
    }
    void rightButtonDown() {
        rightDown = true;
        rightPressed = true;
    }
    void rightButtonUp() {
        rightDown = false;
        rightReleased = true;
    }
    void middleButtonDown() {
        middleDown = true;
        middlePressed = true;
    }
    void middleButtonUp() {
        middleDown = false;
        middleReleased = true;
    }
    void setWheel(int step) { wheel = step; }
    // Upward movement is negative: previous y minus current y, with y measured upward.
    float deltaY() const { return (float)(previousY - y); }
    void setOwnCursor(int on);
    void showCursor();
    void hideCursor();
    bool loadCursorImage(const char* path);
    void drawCursor();

    int x, y;
    int previousX, previousY;
    bool leftDown, leftPressed, leftReleased;
    bool rightDown, rightPressed, rightReleased;
    bool middleDown, middlePressed, middleReleased;
    int wheel;
    int ownCursor;
    bool cursorVisible;
    Texture* cursorTexture;
};

extern Keys keys;
extern Mouse mouse;
