// Helpers for in-process screen tests: a scratch game folder, pushed input, layouts.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "files.h"
#include "input.h"
#include "layout.h"

// Runs the test from a fresh folder that links the game's data files (but not its
// "hiscores.dat"), so screens find their layouts and write their scores there; then back
// to the game folder before the scratch folder goes.
class ScratchGameFolder : public ScratchFolder {
    const std::string previous_ = std::filesystem::current_path().string();

   public:
    ScratchGameFolder() {
        for (const auto& entry : std::filesystem::directory_iterator(previous_))
            if (entry.path().filename() != "hiscores.dat")
                std::filesystem::create_symlink(entry.path(), file(entry.path().filename()));
        std::filesystem::current_path(path());
    }
    ~ScratchGameFolder() { std::filesystem::current_path(previous_); }
};

// Empties SDL's event queue, ends any hold on presses and releases every control.
inline void reset_input() {
    for (SDL_Event drain; SDL_PollEvent(&drain);) continue;
    drop_presses(0);
    init_key_states();
}

inline void push_tap(float x, float y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, Uint16(x), Uint16(y)};
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

inline void push_key(SDLKey key, Uint8 type = SDL_KEYDOWN) {
    SDL_Event e{};
    e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}};
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

struct LayoutDeleter {
    void operator()(t_screen_layout* layout) const { layout_free(layout); }
};
using LayoutPtr = std::unique_ptr<t_screen_layout, LayoutDeleter>;

// The item of a layout file (copied).
inline t_layout_item layout_item_of(const char* layout_file, const char* tag) {
    LayoutPtr layout(layout_load(layout_file));
    const t_layout_item* item = layout_get_item(layout.get(), tag);
    EXPECT_NE(item, nullptr) << tag << " in " << layout_file;
    return item ? *item : t_layout_item{};
}

// A tap at the centre of the item `tag` of a layout file.
inline void push_tap_on(const char* layout_file, const char* tag) {
    const t_layout_item item = layout_item_of(layout_file, tag);
    push_tap(item.x + item.w / 2, item.y + item.h / 2);
}
