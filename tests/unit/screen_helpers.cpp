// Helpers for in-process screen tests: a scratch game folder, pushed input, layouts, frames.
#include "screen_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fonts.h"
#include "graphics.h"
#include "input.h"
#include "pixels.h"

namespace fs = std::filesystem;

ScratchGameFolder::ScratchGameFolder() : previous_(fs::current_path().string()) {
    for (const auto& entry : fs::directory_iterator(previous_))
        if (entry.path().filename() != "hiscores.dat")
            fs::create_symlink(entry.path(), file(entry.path().filename()));
    fs::current_path(path());
}

// Back to the game folder before the scratch folder goes.
ScratchGameFolder::~ScratchGameFolder() { fs::current_path(previous_); }

void screens_start() {
    start_frame();
    load_game_fonts();
    reset_input();
}

void reset_input() {
    SDL_Event drain;
    while (SDL_PollEvent(&drain)) {
    }
    init_key_states();
}

void push_tap(float x, float y, Uint8 button) {
    SDL_Event e{};
    e.type = e.button.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

t_layout_item layout_item_of(const char* layout_file, const char* tag) {
    LayoutPtr layout(layout_load(layout_file));
    const t_layout_item* item = layout_get_item(layout.get(), tag);
    EXPECT_NE(item, nullptr) << tag << " in " << layout_file;
    return item ? *item : t_layout_item{};
}

void push_tap_on(const char* layout_file, const char* tag) {
    const t_layout_item item = layout_item_of(layout_file, tag);
    push_tap(item.x + item.w / 2, item.y + item.h / 2);
}

void push_key(SDLKey key, Uint8 type) {
    SDL_Event e{};
    e.type = e.key.type = type;
    e.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

std::vector<GLubyte> read_region(const t_layout_item& item) {
    const int x = static_cast<int>(item.x), y = static_cast<int>(item.y);
    const int w = static_cast<int>(item.w), h = static_cast<int>(item.h);
    std::vector<GLubyte> pixels(static_cast<size_t>(w * h * 4));
    // GL rows count from the bottom; game rows from the top.
    glReadPixels(x, real_screen_h - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
