// The window as a player sizes it: the picture scaled into any drawable, the desktop-sized full
// screen, the pointer mapped back onto the picture, and swaps paced by the display.
#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>

#include "app/glWindow.h"
#include "app/mainLoop.h"
#include "app/soundDevice.h"
#include "core/frameCap.h"
#include "core/input.h"

int requestVerticalSync() {
    // Adaptive sync tears a late frame rather than halving the rate; not every driver has it.
    if (SDL_GL_SetSwapInterval(-1) == 0) return -1;
    if (SDL_GL_SetSwapInterval(1) == 0) return 1;
    SDL_GL_SetSwapInterval(0);
    return 0;
}

double GLWindow::displayRefresh() const {
    SDL_DisplayMode mode;
    int display = windowHandle ? SDL_GetWindowDisplayIndex(windowHandle) : 0;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0)
        return defaultFrameCapRate;
    return mode.refresh_rate;
}

void GLWindow::fitToDrawable() {
    int width = pictureWidth, height = pictureHeight;
    if (windowHandle) SDL_GL_GetDrawableSize(windowHandle, &width, &height);
    picture = fitPicture(width, height);
    drawableWidth = width;
    drawableHeight = height;
    // The projection is left as it is: the viewport alone scales the picture, so at 640x480
    // every pixel is drawn exactly as before. The game's full clear blackens the bars.
    upscale.aim(picture, softwareRenderer && !split);
}

void GLWindow::splitScreen(bool on) {
    if (on == split) return;
    split = on;
    // No window (the headless runner, tests): no viewport to point.
    if (created) upscale.aim(picture, softwareRenderer && !split);
}

bool GLWindow::toggleDesktopFullScreen() {
    if (!windowHandle) return false;
    bool full = (SDL_GetWindowFlags(windowHandle) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) != 0;
    if (SDL_SetWindowFullscreen(windowHandle, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        fprintf(stderr, "GLWindow: full screen: %s\n", SDL_GetError());
        return false;
    }
    // Leaving a full screen of either kind leaves nothing for destroy to undo.
    if (full) fullScreen = false;
    fitToDrawable();
    return true;
}

void GLWindow::screenToPicture(int& x, int& y) const {
    if (!windowHandle) return;
    int left = 0, top = 0;
    SDL_GetWindowPosition(windowHandle, &left, &top);
    x -= left;
    y -= top;
    windowPointToPicture(x, y);
}

void GLWindow::windowPointToPicture(int& x, int& y) const {
    if (!windowHandle) return;
    int windowWidth = 0, windowHeight = 0, drawableWidth = 0, drawableHeight = 0;
    SDL_GetWindowSize(windowHandle, &windowWidth, &windowHeight);
    SDL_GL_GetDrawableSize(windowHandle, &drawableWidth, &drawableHeight);
    windowToPicture(picture, windowWidth, windowHeight, drawableWidth, drawableHeight, x, y, x, y);
}

bool typingText = false;

bool isFullScreenToggle(unsigned message, uint64_t wParam, int64_t lParam) {
    // Bit 30 marks a key that was already down: a held key toggles once.
    if (lParam & ((int64_t)1 << 30)) return false;
    const int f11 = VK_F1 + 10;
    if (message == WM_KEYDOWN) return wParam == (uint64_t)f11;
    return message == WM_SYSKEYDOWN && wParam == (uint64_t)VK_RETURN;
}

bool desktopKey(unsigned message, uint64_t wParam, int64_t lParam) {
    if (isFullScreenToggle(message, wParam, lParam)) {
        glWindow.toggleDesktopFullScreen();
        return true;
    }
    bool firstPress = (lParam & ((int64_t)1 << 30)) == 0;
    if (message == WM_KEYDOWN && wParam == 'M' && firstPress && !typingText) {
        soundMuted = !soundMuted;
        return true;
    }
    return false;
}
