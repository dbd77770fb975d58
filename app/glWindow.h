#pragma once
// The program's one window and its OpenGL context: a double-buffered RGBA surface whose drawable
// area is 640x480 pixels, with the centred projection in which one unit is one pixel.
#include <cstdint>

#include "app/pictureFit.h"
#include "app/pictureUpscale.h"

struct SDL_Window;

// The window procedure's signature: the window, the message and its two parameters.
typedef int64_t (*WindowProcedure)(void* window, unsigned message, uint64_t wParam, int64_t lParam);

class GLWindow {
public:
    GLWindow();

    // Opens the window and makes its context current; false (after a message box for every
    // failure but the first) when it could not. Call destroy either way.
    bool create(const char* name, int width, int height, int colourBits, int depthBits, bool fullScreen,
                WindowProcedure windowProcedure, void* instance);
    // Releases exactly what create acquired; safe after a failed or partial create. Always true.
    bool destroy();
    // The centred projection, one unit per pixel; any GL context may use it.
    static void setProjection(int width, int height);
    // Switches the window to full screen; true only when the display really runs at width x height.
    bool changeDisplayMode(int width, int height, int bits);
    bool swapBuffers();
    SDL_Window* getWindowHandle() const { return windowHandle; }
    void drawRect(float shade, float x1, float y1, float x2, float y2);

    // Points the viewport at the picture's place in the drawable as it is now (windowScale.cpp).
    void fitToDrawable();
    // A two-player race lays its views over the whole drawable at the window's own resolution:
    // the upscaler stands aside while split is on.
    void splitScreen(bool on);
    // Between a desktop-sized full screen (no mode change) and a window; false when SDL refuses.
    bool toggleDesktopFullScreen();
    // A pointer position in screen pixels becomes one in picture pixels, y downward.
    void screenToPicture(int& x, int& y) const;
    // The same for a position inside the window, as mouse events give it.
    void windowPointToPicture(int& x, int& y) const;
    // The refresh rate of the display the window is on; defaultFrameCapRate when it is unknown
    // (a virtual X server reports none).
    double displayRefresh() const;

    PictureFit picture;  // where the 640x480 picture is drawn in the drawable
    int drawableWidth = pictureWidth, drawableHeight = pictureHeight;  // as of the last fit
    bool split = false;
    // At whole scales on a software renderer the frame is drawn at 640x480 and shown scaled.
    PictureUpscaler upscale;
    bool softwareRenderer;

    void* renderingContext;  // SDL_GLContext
    SDL_Window* windowHandle;
    void* instance;
    bool fullScreen;
    bool created;
    char className[256];  // also the window title
    WindowProcedure windowProcedure;
    bool videoStarted;  // create started SDL's video subsystem, so destroy stops it
    int swapInterval;   // what requestVerticalSync obtained: 0 when swaps do not wait for the display
};

extern GLWindow glWindow;

// Asks the current context for swaps that wait for the display's refresh: adaptive where the
// driver has it, else plain, else none. Returns the swap interval obtained (-1, 1 or 0).
int requestVerticalSync();

// Reads the size of the mode a display really runs at; false when it cannot be read. Tests put
// a display here that keeps its own mode whatever is asked, as a virtual X server does.
typedef bool (*DisplaySizeReader)(int display, int& width, int& height);
extern DisplaySizeReader readDisplaySize;
bool readSdlDisplaySize(int display, int& width, int& height);
