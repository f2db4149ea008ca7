// What the fuzz targets share: a scratch working folder, whole-file writes, and the
// headless graphics that the font loader needs for its glyph textures.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes a fresh folder (in /dev/shm, or /tmp) the working folder, removed at exit; the readers
// open files by bare name, so the targets write their inputs here.
void fuzz_enter_scratch_folder();
// Replaces the file `name` with exactly `size` bytes of `data`; aborts when it cannot.
void fuzz_write_file(const char* name, const uint8_t* data, size_t size);
// Starts SDL's dummy video driver with the off-screen GL ES context; aborts on failure.
void fuzz_start_graphics();
// Stops the run as a crash that libFuzzer records, when a result breaks its contract.
void fuzz_check(bool holds, const char* what);
// Loads the font described by the file `description`, checks what font_load promises of a
// font it returns (a whole set of 55 to 128 glyphs, each an immortal sprite of the strip's
// height, and names that end in their fields; null is always allowed), writes a text with
// it, frees it and empties the sprite table.
void fuzz_load_font(const char* description);
