#pragma once
// The outside services the shell rests on: a window-message queue, the performance counter, the
// pointer, message boxes, folders and file listing. The game reaches the desktop only through
// platform(); the SDL implementation lives in sdlPlatform.cpp, and ScriptedPlatform stands in
// for it in tests and in the headless race runner.
#include <cstdint>
#include <string>
#include <vector>

// Window message codes, with the values the window procedure was designed around.
enum : unsigned {
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
};

// WM_ACTIVATE's low word and WM_SIZE's wParam.
enum : unsigned { WA_INACTIVE = 0, WA_ACTIVE = 1, SIZE_RESTORED = 0, SIZE_MINIMIZED = 1 };

// Message box styles and answers.
enum : unsigned {
    MB_OK = 0x00,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
};
enum { IDOK = 1, IDYES = 6, IDNO = 7 };

struct WindowMessage {
    unsigned message;
    uint64_t wParam;
    int64_t lParam;
};

// Packs a high and a low 16-bit word into a wParam, as WM_ACTIVATE and WM_MOUSEWHEEL carry them.
inline uint64_t makeWParam(unsigned low, unsigned high) { return (uint64_t)((high & 0xFFFFu) << 16 | (low & 0xFFFFu)); }

class Platform {
public:
    Platform();
    virtual ~Platform();

    // Takes the oldest waiting message without blocking; false when none waits.
    bool peekMessage(WindowMessage& msg);
    // Appends a message; false (and dropped) when the queue is full.
    bool postMessage(unsigned message, uint64_t wParam, int64_t lParam);
    // A later peekMessage yields WM_QUIT with this code in wParam.
    void postQuitMessage(int exitCode);
    int pendingMessages() const { return queueCount; }
    // Sleeps until a system event arrives (or a short while passes) when none waits; the loop
    // calls it instead of polling while the window is minimised.
    virtual void waitMessage() {}
    // Returns once the counter has reached target, at once when it already has. Frames that
    // have nothing to wait on (no vsync, a replay's next frame) sleep here instead of spinning.
    virtual void sleepUntil(int64_t target);
    static const int queueCapacity = 512;

    virtual int64_t queryPerformanceCounter() = 0;
    virtual int64_t queryPerformanceFrequency() = 0;
    // Pointer position in screen pixels, y growing downward.
    virtual void getCursorPos(int& x, int& y) = 0;
    virtual void showCursor(bool show) = 0;
    // Modal box; returns IDYES, IDNO or IDOK.
    virtual int messageBox(const char* text, const char* caption, unsigned flags) = 0;

    // Relative or absolute; false when the folder cannot be entered.
    bool changeDirectory(const char* path);
    // Calls onName for each file whose name matches the pattern's last component ('*' and '?'
    // wildcards), at most maxNames times. Returns the count, or -1 when the folder cannot be read.
    int listFiles(const char* pattern, void (*onName)(const char* name, void* user), void* user, int maxNames);

protected:
    // Moves waiting system events into the queue; the SDL layer overrides it.
    virtual void pumpEvents() {}

private:
    WindowMessage queue[queueCapacity];
    int queueHead;
    int queueCount;
};

// The program's platform; a ScriptedPlatform until the shell installs the real one.
Platform& platform();
// Installs p (not owned); null restores the built-in scripted platform.
void setPlatform(Platform* p);

// A platform driven entirely by the caller: a counter that moves only when told, a pointer
// that stays where it is put, and message boxes that are recorded and answered from a script
// instead of blocking.
class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform();

    int64_t queryPerformanceCounter() override { return counter; }
    int64_t queryPerformanceFrequency() override { return frequency; }
    void getCursorPos(int& x, int& y) override {
        x = cursorX;
        y = cursorY;
    }
    void showCursor(bool show) override {
        cursorShown = show;
        showCursorCalls++;
    }
    int messageBox(const char* text, const char* caption, unsigned flags) override;
    void waitMessage() override { waitCalls++; }
    // Time passes only when told: a sleep moves the counter straight to its end.
    void sleepUntil(int64_t target) override;

    int64_t counter;
    int64_t frequency;
    int cursorX, cursorY;
    bool cursorShown;
    int showCursorCalls;
    int waitCalls;
    int sleepCalls;
    int yesNoAnswer;    // returned by MB_YESNO boxes
    bool echoToStderr;  // message texts also go to stderr
    std::vector<std::string> boxTexts;
    std::vector<std::string> boxCaptions;
};
