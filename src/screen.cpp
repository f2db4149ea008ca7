// The loop every screen shares, and the screens' title panels.
#include "screen.h"

#include "graphics.h"
#include "input.h"
#include "screens.h"

int screen_poll_tap(float* x, float* y) {
    if (!poll_input()) return 0;
    if (event.type != SDL_MOUSEBUTTONDOWN || event.button.button != SDL_BUTTON_LEFT) return 0;
    const t_intcoords point = projectWindowCoords(event.button.x, event.button.y);
    *x = static_cast<float>(point.x);
    *y = static_cast<float>(point.y);
    return 1;
}

void screen_leave(t_game_state state) {
    game_set_state(&game, state);
    exit_signal = 1;
}

void screen_handle_exit(t_game_state exit_state) {
    if (!p1_controls_state[P_EXIT]) return;
    screen_leave(exit_state);
    p1_controls_state[P_EXIT] = 0;
}

int screen_button_hit(t_screen_layout* layout, t_button* button, const char* tag, float x,
                      float y) {
    return button_is_clicked(button, layout_get_item(layout, tag), x, y);
}

void screen_button_render(t_screen_layout* layout, t_button* button, const char* tag) {
    button_render(button, layout_get_item(layout, tag));
}

void render_title(t_layout_item* layout) { render_panel_text(layout, "Quorvel"); }
void render_hiscores_title(t_layout_item* layout) { render_panel_text(layout, "High Scores"); }
void render_get_initials_title(t_layout_item* layout) { render_panel_text(layout, "High Score!"); }
