// Bevelled push buttons and framed panels, and the centred text they share.
#include "button.h"

#include "fonts.h"
#include "graphics.h"
#include "text.h"

namespace {

struct t_rgba {
    float r, g, b, a;
};

constexpr t_rgba BUTTON_BODY = {0.8f, 0.8f, 0.3f, 1.0f};
constexpr t_rgba BEVEL_LIGHT = {1.0f, 1.0f, 1.0f, 0.7f};
constexpr t_rgba BEVEL_DARK = {0.0f, 0.0f, 0.0f, 0.7f};
constexpr t_rgba PANEL_BODY = {0.8f, 0.8f, 1.0f, 1.0f};
constexpr t_rgba PANEL_FRAME = {0.0f, 0.0f, 0.8f, 1.0f};
constexpr float PANEL_FRAME_WIDTH = 2.0f;

void quad(float x, float y, float w, float h, t_rgba c) {
    put_quad(x, y, w, h, c.r, c.g, c.b, c.a);
}

void triangle(float x1, float y1, float x2, float y2, float x3, float y3, t_rgba c) {
    put_triangle(x1, y1, x2, y2, x3, y3, c.r, c.g, c.b, c.a);
}

void line(float x1, float y1, float x2, float y2, t_rgba c) {
    draw_line(x1, y1, x2, y2, c.r, c.g, c.b, c.a, PANEL_FRAME_WIDTH);
}

// One line of large-font text centred in the rectangle; the font's height, not the
// glyphs', sets the vertical position, so every text sits on the same baseline.
void write_centred(const t_layout_item* r, const char* text) {
    if (!large_font) return;
    const int x = static_cast<int>(static_cast<double>(r->x) + static_cast<double>(r->w) / 2);
    const int y = static_cast<int>(static_cast<double>(r->y) + static_cast<double>(r->h) / 2 -
                                   static_cast<double>(large_font->height) / 2);
    font_write(large_font, text, x, y, FONT_CENTRED);
}

// Top and left bands, lit; the top-right and bottom-left corners get their upper-left halves.
void render_highlight(float x, float y, float w, float h, float d) {
    triangle(x, y, x + d, y, x + d, y + d, BEVEL_LIGHT);
    triangle(x + w - d, y, x + w, y, x + w - d, y + d, BEVEL_LIGHT);
    quad(x + d, y, w - h / 10, d, BEVEL_LIGHT);
    triangle(x, y, x + d, y + d, x, y + d, BEVEL_LIGHT);
    triangle(x, y + h - d, x + d, y + h - d, x, y + h, BEVEL_LIGHT);
    quad(x, y + d, d, h - h / 10, BEVEL_LIGHT);
}

// Bottom and right bands in shadow, with the lower-right halves of the split corners.
void render_shadow(float x, float y, float w, float h, float d) {
    triangle(x, y + h, x + d, y + h - d, x + d, y + h, BEVEL_DARK);
    triangle(x + w - d, y + h, x + w - d, y + h - d, x + w, y + h, BEVEL_DARK);
    quad(x + d, y + h - d, w - h / 10, d, BEVEL_DARK);
    triangle(x + w, y, x + w, y + d, x + w - d, y + d, BEVEL_DARK);
    triangle(x + w, y + h - d, x + w, y + h, x + w - d, y + h - d, BEVEL_DARK);
    quad(x + w - d, y + d, d, h - h / 10, BEVEL_DARK);
}

}  // namespace

t_button* button_new(const char* label) {
    t_button* button = new t_button{};
    text_copy(button->label, label);
    return button;
}

void button_set_label(t_button* button, const char* new_label) {
    text_copy(button->label, new_label);
}

// The bevel goes on after the label, so a label wider than the button runs under it.
void button_render(t_button* button, t_layout_item* layout) {
    if (!layout) return;
    const float x = layout->x, y = layout->y, w = layout->w, h = layout->h;
    const float d = h / 20;
    quad(x, y, w, h, BUTTON_BODY);
    write_centred(layout, button->label);
    render_highlight(x, y, w, h, d);
    render_shadow(x, y, w, h, d);
}

int button_is_clicked(t_button* button, t_layout_item* layout, float event_x, float event_y) {
    const bool hit =
        button->selected || (layout && layout->x < event_x && event_x < layout->x + layout->w &&
                             layout->y < event_y && event_y < layout->y + layout->h);
    if (!hit) return 0;
    button->pressed = 1;
    return 1;
}

void render_panel(t_layout_item* layout) {
    if (!layout) return;
    const float x = layout->x, y = layout->y, w = layout->w, h = layout->h;
    quad(x, y, w, h, PANEL_BODY);
    line(x, y, x + w, y, PANEL_FRAME);
    line(x + w, y, x + w, y + h, PANEL_FRAME);
    line(x + w, y + h, x, y + h, PANEL_FRAME);
    line(x, y + h, x, y, PANEL_FRAME);
}

void render_panel_text(t_layout_item* layout, const char* text) {
    if (!layout) return;
    render_panel(layout);
    write_centred(layout, text);
}
