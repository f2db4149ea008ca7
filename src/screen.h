// The loop every screen shares: poll and hit-test, the exit control, present and wait.
#pragma once

#include <SDL/SDL.h>

#include "button.h"
#include "game.h"
#include "layout.h"

// Polls input once; 1 when a left-button press arrived, with its position in game coordinates.
int screen_poll_tap(float* x, float* y);
// Ends the screen's loop after this frame, moving to `state`.
void screen_leave(t_game_state state);
// On the exit control (Escape): leave for `exit_state` and forget the key press.
void screen_handle_exit(t_game_state exit_state);
// Presents the frame and waits the screen's delay.
void screen_present(Uint32 delay_ms);
// A button's hit test at its layout item, looked up by tag (a missing item is never hit).
int screen_button_hit(t_screen_layout* layout, t_button* button, const char* tag, float x, float y);
// Draws a button at its layout item, looked up by tag (a missing item draws nothing).
void screen_button_render(t_screen_layout* layout, t_button* button, const char* tag);
