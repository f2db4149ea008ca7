// The loop every screen shares: poll and hit-test, the exit control, the screen's work,
// drawing and presenting when the picture changed, and the wait.
#pragma once

#include <SDL/SDL.h>

#include <optional>

#include "button.h"
#include "frame.h"
#include "game.h"
#include "graphics.h"
#include "layout.h"

// Polls input once; 1 when a left-button press arrived, with its position in game coordinates.
int screen_poll_tap(float* x, float* y);
// Ends the screen's loop after this frame, moving to `state`.
void screen_leave(t_game_state state);
// On the exit control (Escape): leave for `exit_state` and forget the key press.
void screen_handle_exit(t_game_state exit_state);
// A button's hit test at its layout item, looked up by tag (a missing item is never hit).
int screen_button_hit(t_screen_layout* layout, t_button* button, const char* tag, float x, float y);
// Draws a button at its layout item, looked up by tag (a missing item draws nothing).
void screen_button_render(t_screen_layout* layout, t_button* button, const char* tag);

// The loop of every screen, run until the screen sets a new state: a tap handed to `on_tap`,
// the exit control (none when `exit_state` is empty), the screen's own `work`, the frame
// made by `draw`, presented, then the screen's delay. A frame whose picture would be the
// one on screen is neither drawn nor presented; entering a screen always draws. `draw`
// runs up to twice a frame, first only signing, so it must draw and change nothing else:
// a screen's changes from frame to frame belong in `work`, which calls frame_note_change
// when it changes what is shown. With no event and no change noted, a frame is not even
// signed.
template <typename OnTap, typename Work, typename Draw>
void screen_loop(std::optional<t_game_state> exit_state, Uint32 delay_ms, OnTap on_tap, Work work,
                 Draw draw) {
    exit_signal = 0;
    frame_mark_stale();
    while (!exit_signal) {
        float x = 0, y = 0;
        if (screen_poll_tap(&x, &y)) on_tap(x, y);
        if (exit_state) screen_handle_exit(*exit_state);
        work();
        if (frame_may_differ() && frame_record_changed(draw)) {
            draw();
            update_screen();
        }
        SDL_Delay(delay_ms);
    }
}

// The loop of a screen with no work of its own.
template <typename OnTap, typename Draw>
void screen_loop(std::optional<t_game_state> exit_state, Uint32 delay_ms, OnTap on_tap, Draw draw) {
    screen_loop(
        exit_state, delay_ms, on_tap, [] {}, draw);
}
