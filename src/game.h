// The game-state record: which screen runs, and the millisecond bookkeeping of the round clock.
#pragma once

#include <cstdint>

enum t_game_state : int32_t {
    MAIN_MENU = 0,
    PLAYING = 1,
    HISCORES = 2,
    GAME_OVER = 3,
    ROUND_SCORE = 4,
    GET_INITIALS = 5,
    PAUSED = 6,  // no screen; never entered
    EXITING = 7,
};

struct game_s {
    t_game_state state;
    int32_t time_in_state;  // ms accumulated by game_update_time since the last state change
    int32_t time_total;     // tick count at the last state change or time update
    int32_t time_change;    // ms of play between the last two time updates
};
using t_game = game_s;

extern t_game game;
extern int exit_signal;  // nonzero ends the running screen loop

void game_init(t_game* game);
void game_end(t_game* game);
// New state, restarting the state's time from the current tick count.
void game_set_state(t_game* game, t_game_state state);
// A frame takes milliseconds: a tick reading further on than this is a step of the clock or
// a pause (the game stopped, the device asleep), not play.
constexpr int32_t GAME_FRAME_MS_MAX = 1000;

// Advances the clock: time_change = the play time since the last update or state change.
void game_update_time(t_game* game);
// The play time between two tick readings: all of it, or none when the clock went back or
// leapt further ahead than a frame takes.
int32_t game_time_played(uint32_t from, uint32_t to);
void game_state_init_time(t_game* game);
