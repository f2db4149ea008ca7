// Helpers for in-process screen tests and tests of layouts: a scratch game folder, pushed
// taps and keys, layouts loaded from files, and frames read back.
#pragma once

#include <GLES/gl.h>
#include <SDL/SDL.h>

#include <memory>
#include <string>
#include <vector>

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

// Starts headless graphics and input and loads the game's two fonts, once per process.
void screens_start();
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

// The item of a layout file (copied), for drawing references at the same place.
t_layout_item layout_item_of(const char* layout_file, const char* tag);
// The RGBA pixels of a rectangle of the last frame, in game coordinates.
std::vector<GLubyte> read_region(const t_layout_item& item);
