// Helpers for in-process screen tests: a scratch game folder, pushed input, layouts.
#include "screen_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "input.h"

namespace fs = std::filesystem;

ScratchGameFolder::ScratchGameFolder() : previous_(fs::current_path().string()) {
    for (const auto& entry : fs::directory_iterator(previous_))
        if (entry.path().filename() != "hiscores.dat")
            fs::create_symlink(entry.path(), file(entry.path().filename()));
    fs::current_path(path());
}

// Back to the game folder before the scratch folder goes.
ScratchGameFolder::~ScratchGameFolder() { fs::current_path(previous_); }

void reset_input() {
    for (SDL_Event drain; SDL_PollEvent(&drain);) continue;
    init_key_states();
}

void push_tap(float x, float y, Uint8 button) {
    SDL_Event e{};
    e.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, Uint16(x), Uint16(y)};
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

void push_key(SDLKey key, Uint8 type) {
    SDL_Event e{};
    e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}};
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
