// The SDL OpenGL ES bridge in the browser: the page's canvas gets its WebGL context from
// SDL_SetVideoMode (Emscripten's SDL, asked for SDL_OPENGL), and GL ES 1.1's fixed
// functions are emulated over it. So the bridge only checks that the context exists; the
// browser presents each frame when the game yields to it.
#include <SDL/SDL.h>
#include <emscripten.h>

#include "sdl_gles.h"

namespace {

// Emscripten's SDL leaves the canvas with no context when the browser offers no WebGL.
EM_JS(int, webgl_context_exists, (), { return GLctx ? 1 : 0; });

int context_handle = 1;  // the one context there is; the handle only has to be non-null

}  // namespace

int SDL_GLES_VideoModeFlags() { return SDL_OPENGL; }

// The canvas's size, which the page chose.
void SDL_GLES_VideoModeSize(int* width, int* height) {
    *width = 0;
    *height = 0;
}

// The page's own driver draws into the canvas.
int SDL_GLES_DriverUsable() { return 1; }

int SDL_GLES_Init(SDL_GLES_Version version) {
    if (version != SDL_GLES_VERSION_1_1) {
        SDL_SetError("OpenGL ES 1.1 is the only version offered");
        return -1;
    }
    if (webgl_context_exists()) return 0;
    SDL_SetError("this browser offers no WebGL");
    return -1;
}

// The canvas's context was made with the video mode; its buffers are the canvas's own.
int SDL_GLES_SetAttribute(SDL_GLES_Attr attr, int /*value*/) {
    return attr >= 0 && attr < SDL_GLES_NUM_ATTRS ? 0 : -1;
}

SDL_GLES_Context* SDL_GLES_CreateContext() {
    if (webgl_context_exists()) return &context_handle;
    SDL_SetError("the GL ES bridge is not initialised");
    return nullptr;
}

int SDL_GLES_MakeCurrent(SDL_GLES_Context* context) { return context ? 0 : -1; }

// The browser shows the canvas's drawing once the game yields (SDL_Delay).
void SDL_GLES_SwapBuffers() {}

// The page fits the canvas itself and tells the game through SDL's resize event; nothing
// covers a canvas's picture.
int SDL_GLES_WindowSpoiled(int* /*width*/, int* /*height*/) { return 0; }

// The context lives as long as the page.
void SDL_GLES_DeleteContext(SDL_GLES_Context* /*context*/) {}

void SDL_GLES_Quit() {}
