// Bevelled push buttons and framed panels, drawn into and hit-tested against layout items.
#pragma once

#include "layout.h"

constexpr int BUTTON_LABEL_SIZE = 32;

struct s_button {
    char label[BUTTON_LABEL_SIZE];  // at most 31 characters; longer labels are cut
    int selected;                   // nonzero: every tap counts as a click
    int pressed;                    // set by a successful click test, never cleared
};
using t_button = s_button;

// A new button; the owning screen releases it with delete.
t_button* button_new(const char* label);
void button_set_label(t_button* button, const char* new_label);
// Draws the button in `layout`; nothing for a null layout.
void button_render(t_button* button, t_layout_item* layout);
// 1 when the tap (game coordinates) lies strictly inside `layout`, or the button is selected.
int button_is_clicked(t_button* button, t_layout_item* layout, float event_x, float event_y);
// A pale blue framed panel filling `layout`; nothing for a null layout.
void render_panel(t_layout_item* layout);
// A panel with one line of text centred in it in the large font.
void render_panel_text(t_layout_item* layout, const char* text);
