#include "app/headlessContext.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>

#include "app/glWindow.h"

static SDL_Window* headlessWindow = nullptr;
static SDL_GLContext headlessGL = nullptr;

bool createHeadlessContext(int width, int height) {
    if (headlessWindow) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "headless context: SDL video init failed: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    headlessWindow = SDL_CreateWindow("GL Framework", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!headlessWindow) {
        fprintf(stderr, "headless context: no window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    headlessGL = SDL_GL_CreateContext(headlessWindow);
    if (!headlessGL || SDL_GL_MakeCurrent(headlessWindow, headlessGL) != 0) {
        fprintf(stderr, "headless context: no GL context: %s\n", SDL_GetError());
        destroyHeadlessContext();
        return false;
    }
    glViewport(0, 0, width, height);
    GLWindow::setProjection(width, height);
    glLoadIdentity();
    return true;
}

void destroyHeadlessContext() {
    if (headlessGL) {
        SDL_GL_MakeCurrent(headlessWindow, nullptr);
        SDL_GL_DeleteContext(headlessGL);
        headlessGL = nullptr;
    }
    if (headlessWindow) {
        SDL_DestroyWindow(headlessWindow);
        headlessWindow = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

void swapHeadlessContext() {
    if (headlessWindow) SDL_GL_SwapWindow(headlessWindow);
}
