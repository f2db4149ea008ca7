// Fuzzes the font description reader: any description file, naming a small strip of 56
// glyphs that lies in the working folder, or anything else, loads a whole font or none.
#include <SDL/SDL.h>

#include "fuzz_support.h"

namespace {

// "s.bmp": 56 glyphs one column wide, each after a background column, 4 rows high.
void write_small_strip() {
    constexpr int GLYPHS = 56;
    SDL_Surface* image = SDL_CreateRGBSurface(0, 2 * GLYPHS + 1, 4, 24, 0, 0, 0, 0);
    fuzz_check(image != nullptr, "strip surface");
    SDL_FillRect(image, nullptr, SDL_MapRGB(image->format, 255, 0, 255));
    for (int g = 0; g < GLYPHS; g++) {
        SDL_Rect ink = {static_cast<Sint16>(2 * g + 1), 0, 1, 4};
        SDL_FillRect(image, &ink, SDL_MapRGB(image->format, 0, 0, 0));
    }
    fuzz_check(SDL_SaveBMP(image, "s.bmp") == 0, "saving s.bmp");
    SDL_FreeSurface(image);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_enter_scratch_folder();
    fuzz_start_graphics();
    write_small_strip();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_write_file("f.fnt", data, size);
    fuzz_load_font("f.fnt");
    return 0;
}
