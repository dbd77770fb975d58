#include "app/glWindow.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>

#include "core/platform.h"
#include "graphics/rect.h"

GLWindow glWindow;

GLWindow::GLWindow()
    : softwareRenderer(false), renderingContext(nullptr), windowHandle(nullptr), instance(nullptr), fullScreen(false),
      created(false),
      windowProcedure(nullptr), videoStarted(false), swapInterval(0) {
    className[0] = '\0';
    picture = fitPicture(pictureWidth, pictureHeight);
}

static bool fail(const char* text) {
    platform().messageBox(text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// The pixel format: double-buffered RGBA. Windows counts colour bits without alpha, so 32 (and
// 24) mean eight bits for each of red, green and blue.
static bool requestPixelFormat(int colourBits, int depthBits) {
    int channelBits = colourBits >= 24 ? 8 : (colourBits >= 15 ? 5 : 1);
    return SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) == 0 && SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits) == 0;
}

bool GLWindow::create(const char* name, int width, int height, int colourBits, int depthBits, bool fullScreenWanted,
                      WindowProcedure procedure, void* moduleInstance) {
    // The check comes before the copy so that a refused second call leaves the open window's
    // name as it is.
    if (created) {
        platform().messageBox("The main window already exists", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    snprintf(className, sizeof className, "%s", name ? name : "");
    instance = moduleInstance;
    windowProcedure = procedure;

    // Starting the video subsystem stands where the window class is registered: a refusal
    // ends create without a box.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "GLWindow: no video: %s\n", SDL_GetError());
        return false;
    }
    videoStarted = true;

    // SDL fixes the pixel format when it makes the window, so the request comes first.
    if (!requestPixelFormat(colourBits, depthBits)) return fail("Error selecting a pixel format");
    // The drawable area, not the outer frame, is width x height, so that the projection's units
    // map one to one onto pixels.
    // Resizable: the picture is scaled to whatever drawable the player gives it.
    windowHandle =
        SDL_CreateWindow(className, 0, 0, width, height,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!windowHandle) {
        fprintf(stderr, "GLWindow: %s\n", SDL_GetError());
        return fail("Can't create the window");
    }

    fullScreen = false;
    if (fullScreenWanted) {
        fullScreen = changeDisplayMode(width, height, colourBits);
        if (!fullScreen) {
            platform().messageBox(
                "The screen mode was not supported by your display\nWindowed mode will be used instead", "Error",
                MB_OK | MB_ICONERROR);
        }
    }

    renderingContext = SDL_GL_CreateContext(windowHandle);
    if (!renderingContext) {
        fprintf(stderr, "GLWindow: %s\n", SDL_GetError());
        return fail("Can't get a rendering context");
    }
    if (SDL_GL_MakeCurrent(windowHandle, renderingContext) != 0) return fail("Can't activate the RC");
    swapInterval = requestVerticalSync();
    softwareRenderer = isSoftwareRenderer();

    SDL_ShowWindow(windowHandle);
    SDL_RaiseWindow(windowHandle);

    // SDL may have resized the drawable while it tried full screen; the picture follows the
    // drawable it really has, one unit a pixel at 640x480.
    fitToDrawable();
    setProjection(width, height);
    created = true;
    return true;
}

bool readSdlDisplaySize(int display, int& width, int& height) {
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(display, &current) != 0) return false;
    width = current.w;
    height = current.h;
    return true;
}

DisplaySizeReader readDisplaySize = readSdlDisplaySize;

bool GLWindow::changeDisplayMode(int width, int height, int bits) {
    if (!windowHandle) return false;
    SDL_DisplayMode wanted = {SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr};
    SDL_DisplayMode closest;
    int display = SDL_GetWindowDisplayIndex(windowHandle);
    if (display < 0) display = 0;
    if (!SDL_GetClosestDisplayMode(display, &wanted, &closest) || closest.w != width || closest.h != height)
        return false;
    if (SDL_SetWindowDisplayMode(windowHandle, &closest) != 0) return false;
    // SDL switches the mode only for a shown window.
    SDL_ShowWindow(windowHandle);
    // Some displays keep their own mode whatever was asked: believe only the mode now in use.
    // SDL reports 32-bit desktops as 24 bits of colour, so only the size is compared.
    (void)bits;
    int nowWidth = 0, nowHeight = 0;
    if (SDL_SetWindowFullscreen(windowHandle, SDL_WINDOW_FULLSCREEN) == 0 &&
        readDisplaySize(display, nowWidth, nowHeight) && nowWidth == width && nowHeight == height)
        return true;
    // Back to a plain window of the asked size, so the refusal leaves nothing behind.
    SDL_SetWindowFullscreen(windowHandle, 0);
    SDL_SetWindowSize(windowHandle, width, height);
    return false;
}

bool GLWindow::destroy() {
    if (fullScreen && windowHandle) SDL_SetWindowFullscreen(windowHandle, 0);
    fullScreen = false;
    if (renderingContext) {
        upscale.release();
        SDL_GL_MakeCurrent(windowHandle, nullptr);
        SDL_GL_DeleteContext(renderingContext);
        renderingContext = nullptr;
    }
    if (windowHandle) {
        SDL_DestroyWindow(windowHandle);
        windowHandle = nullptr;
    }
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
    created = false;
    return true;
}

bool GLWindow::swapBuffers() {
    if (!windowHandle) return false;
    upscale.present();
    SDL_GL_SwapWindow(windowHandle);
    return true;
}

void GLWindow::drawRect(float shade, float x1, float y1, float x2, float y2) { ::drawRect(shade, x1, y1, x2, y2); }
