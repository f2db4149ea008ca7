// SDL's error text in the browser. Emscripten's SDL keeps none (SDL_SetError does nothing
// and SDL_GetError answers a fixed phrase), while the game's "ERROR: " lines name the cause
// from it.
#include <SDL/SDL.h>

#include <cstdarg>
#include <cstdio>

namespace {

char error_text[256] = "";

}  // namespace

// C linkage, so that a definition that strays from the header's declaration fails to build.
extern "C" {

void SDL_SetError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

void SDL_SetError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vsnprintf(error_text, sizeof error_text, fmt, args);
    va_end(args);
}

const char* SDL_GetError() { return error_text; }

}  // extern "C"
