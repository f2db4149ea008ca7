// Screen layouts: named rectangles read from a small text file per screen.
#pragma once

constexpr int LAYOUT_TAG_SIZE = 32;  // a tag or name holds at most 31 characters
constexpr int LAYOUT_MAX_ITEMS = 32;
constexpr float LAYOUT_MAX_COORDINATE = 100000;  // far off any screen; larger is malformed

// One named rectangle in game coordinates (800 x 480, origin top-left, y downward).
struct s_layout_item {
    char tag[LAYOUT_TAG_SIZE];
    float x, y;  // top-left corner
    float w, h;
};
using t_layout_item = s_layout_item;

struct s_screen_layout {
    char name[LAYOUT_TAG_SIZE];              // the file's first word; never consulted
    t_layout_item* items[LAYOUT_MAX_ITEMS];  // filled from 0 in file order; null = empty place
};
using t_screen_layout = s_screen_layout;

// A new layout with no items; the caller frees it with layout_free.
t_screen_layout* layout_new();
// Reads a layout file: its name, then up to 32 items of five blank-separated words each
// (tag x y w h). A tag or name longer than 31 characters is cut to 31. Reading ends at the
// first item whose number is missing, malformed, beyond LAYOUT_MAX_COORDINATE either way or
// longer than 31 characters, keeping the items before it; bytes beyond what a valid file
// can hold are not read. Null when the file is not there (silently), or after an "ERROR: "
// line when it cannot be read or is not a regular file.
t_screen_layout* layout_load(const char* filename);
// The first item with exactly this tag; null when there is none or the layout is null.
t_layout_item* layout_get_item(t_screen_layout* layout, const char* tag);
// Writes nothing: layouts are data edited by hand.
void layout_save(t_screen_layout* layout, const char* filename);
// Frees the items and the layout; a null layout is ignored.
void layout_free(t_screen_layout* layout);
