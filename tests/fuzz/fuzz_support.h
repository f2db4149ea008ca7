// What the fuzz targets share: a scratch working folder, whole-file writes, and the
// headless graphics that the font loader needs for its glyph textures.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes a fresh folder under /tmp the working folder, removed again at exit; the readers
// open files by bare name, so the targets write their inputs here.
void fuzz_enter_scratch_folder();
// Replaces the file `name` with exactly `size` bytes of `data`; aborts when it cannot.
void fuzz_write_file(const char* name, const uint8_t* data, size_t size);
// Starts SDL's dummy video driver with the off-screen GL ES context; aborts on failure.
void fuzz_start_graphics();
// Deletes every texture and empties the sprite table, so that each input starts afresh.
void fuzz_clear_sprites();
// Stops the run as a crash that libFuzzer records, when a result breaks its contract.
void fuzz_check(bool holds, const char* what);
// Checks what font_load promises of a font it returns: a whole glyph set of 55 to 128
// glyphs, each an immortal sprite of the strip's height, and names that end in their fields.
// Null is always allowed.
struct t_font;
void fuzz_check_font(const t_font* font);
