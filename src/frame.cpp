// The signature of a frame's draw calls, and whether the picture on screen is still good.
#include "frame.h"

#include <cstdint>
#include <cstring>

#include "graphics.h"

int frame_signing = 0;
int frame_draw_every = 0;

namespace {

// FNV-1a over 32-bit words: two frames whose calls differ in a single word never collide.
constexpr std::uint64_t FNV_OFFSET = 14695981039346656037ULL;
constexpr std::uint64_t FNV_PRIME = 1099511628211ULL;

std::uint64_t signature = FNV_OFFSET;
std::uint64_t on_screen = FNV_OFFSET;
bool stale = true;
bool noted = true;  // a change since the last signing

}  // namespace

void frame_fold_words(const void* words, std::size_t count) {
    const auto* p = static_cast<const unsigned char*>(words);
    for (std::size_t i = 0; i < count; i++) {
        std::uint32_t word = 0;
        memcpy(&word, p + i * sizeof word, sizeof word);
        signature = (signature ^ word) * FNV_PRIME;
    }
}

void frame_mark_stale() { stale = true; }

void frame_note_change() { noted = true; }

void frame_note_event(Uint32 type) {
    frame_note_change();
    if (type == SDL_VIDEOEXPOSE || type == SDL_VIDEORESIZE || type == SDL_ACTIVEEVENT)
        frame_mark_stale();
}

int frame_may_differ() { return noted || stale || frame_draw_every; }

// The window's size decides the picture too, however it changed.
void frame_sign_begin() {
    signature = FNV_OFFSET;
    const int size[2] = {real_screen_w, real_screen_h};
    frame_fold(size);
    frame_signing = 1;
}

int frame_sign_end() {
    frame_signing = 0;
    const int changed = stale || signature != on_screen;
    stale = false;
    noted = false;
    on_screen = signature;
    return changed;
}
