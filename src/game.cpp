// The game-state record and its clock.
#include "game.h"

#include <SDL/SDL.h>

t_game game;
int exit_signal = 0;

// Tick arithmetic is done in unsigned 32 bits, so that it stays defined, and right, when
// SDL's millisecond counter wraps.
static int32_t wrapping_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

void game_init(t_game* g) {
    g->state = MAIN_MENU;
    g->time_in_state = 0;
    g->time_total = 0;
}

void game_end(t_game* g) { g->state = EXITING; }

void game_set_state(t_game* g, t_game_state state) {
    g->state = state;
    game_state_init_time(g);
    g->time_total = static_cast<int32_t>(SDL_GetTicks());
}

// SDL's ticks follow the wall clock, which may be set or stepped while the game runs; and a
// stopped or sleeping game sees on its return all the time it missed.
void game_update_time(t_game* g) {
    uint32_t now = SDL_GetTicks();
    g->time_change = game_time_played(static_cast<uint32_t>(g->time_total), now);
    g->time_total = static_cast<int32_t>(now);
    g->time_in_state = wrapping_add(g->time_in_state, g->time_change);
}

int32_t game_time_played(uint32_t from, uint32_t to) {
    const uint32_t elapsed = to - from;
    return elapsed <= GAME_FRAME_MS_MAX ? static_cast<int32_t>(elapsed) : 0;
}

void game_state_init_time(t_game* g) { g->time_in_state = 0; }
