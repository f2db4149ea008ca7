// SDL's event queue in the browser: Emscripten's SDL picks queued events by a range of type
// numbers, in which a button's press and release stand side by side.
#include <SDL/SDL.h>

#include "events.h"

void events_drop_queued_presses() {
    SDL_PumpEvents();
    SDL_Event dropped;
    while (SDL_PeepEvents(&dropped, 1, SDL_GETEVENT, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP) > 0)
        continue;
}
