// SDL's event queue on the device: SDL 1.2's own queue, picked by an event mask.
#include "events.h"

#include <SDL/SDL.h>

void events_drop_queued_presses() {
    SDL_PumpEvents();
    SDL_Event dropped;
    while (SDL_PeepEvents(&dropped, 1, SDL_GETEVENT,
                          SDL_MOUSEBUTTONDOWNMASK | SDL_MOUSEBUTTONUPMASK) > 0)
        continue;
}
