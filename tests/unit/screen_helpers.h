// Helpers for in-process screen tests: a scratch game folder, pushed taps and keys, and
// frames read back.
#pragma once

#include <GLES/gl.h>
#include <SDL/SDL.h>

#include <string>
#include <vector>

#include "layout.h"

// Runs the test from a fresh folder that links the game's data files (but not its
// "hiscores.dat"), so screens find their layouts and write their scores there.
class ScratchGameFolder {
   public:
    ScratchGameFolder();
    ~ScratchGameFolder();
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;
    std::string path() const { return dir_; }

   private:
    std::string previous_;
    std::string dir_;
};

// Starts headless graphics and input and loads the game's two fonts, once per process.
void screens_start();
// Empties SDL's event queue and releases every control.
void reset_input();

void push_tap(float x, float y);
// A tap at the centre of the item `tag` of a layout file.
void push_tap_on(const char* layout_file, const char* tag);
void push_key(SDLKey key);

// The item of a layout file (copied), for drawing references at the same place.
t_layout_item layout_item_of(const char* layout_file, const char* tag);
// The RGBA pixels of a rectangle of the last frame, in game coordinates.
std::vector<GLubyte> read_region(const t_layout_item& item);
