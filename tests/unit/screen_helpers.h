// Helpers for in-process screen tests: a scratch game folder, pushed input, layouts.
#pragma once

#include <SDL/SDL.h>

#include <memory>
#include <string>

#include "files.h"
#include "layout.h"

// Runs the test from a fresh folder that links the game's data files (but not its
// "hiscores.dat"), so screens find their layouts and write their scores there.
class ScratchGameFolder : public ScratchFolder {
   public:
    ScratchGameFolder();
    ~ScratchGameFolder();

   private:
    std::string previous_;
};

// Empties SDL's event queue and releases every control.
void reset_input();
void push_tap(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
// A tap at the centre of the item `tag` of a layout file.
void push_tap_on(const char* layout_file, const char* tag);
void push_key(SDLKey key, Uint8 type = SDL_KEYDOWN);

struct LayoutDeleter {
    void operator()(t_screen_layout* layout) const { layout_free(layout); }
};
using LayoutPtr = std::unique_ptr<t_screen_layout, LayoutDeleter>;
// The item of a layout file (copied).
t_layout_item layout_item_of(const char* layout_file, const char* tag);
