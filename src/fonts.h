// Bitmap fonts: glyphs cut from a BMP strip into sprites, measured and drawn.
#pragma once

constexpr int FONT_NAME_SIZE = 32;
constexpr int FONT_MAX_GLYPHS = 128;
constexpr int FONT_CENTRED = 8;  // font_write effect: centre the text on x

struct t_font {
    char name[FONT_NAME_SIZE];
    char filename[FONT_NAME_SIZE];
    int chars[FONT_MAX_GLYPHS];  // sprite of glyph k (character 33 + k); -1 where none
    int num_chars;               // glyphs cut, minus one
    int space_char;              // glyph drawn for a space if positive; negative draws nothing
    int height;                  // line height: the strip's height
};

extern t_font* small_font;
extern t_font* large_font;

// A new empty record; the caller frees it with font_free.
t_font* new_font();
// Reads a description file and cuts its glyph strip into immortal sprites; null (after an
// "ERROR: " line) when the description cannot be read, the strip cannot be loaded or it
// holds fewer than 55 or more than 128 glyphs.
t_font* font_load(const char* filename);
// Frees the glyph sprites and the record; a null font is ignored.
void font_free(t_font* font);
// Width of the text in game units; 0 for a null font. The last glyph cut and characters
// without a glyph add nothing.
int font_strlen(t_font* font, const char* message);
// Height of the font, that of the strip; 0 for a null font.
int font_height(t_font* font);
// Draws the text with its top at y; effect FONT_CENTRED centres it on x. A character
// without a glyph is skipped without moving the pen.
void font_write(t_font* font, const char* message, int x, int y, int effect);
