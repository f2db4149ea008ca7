// The sprite table's slots, and BMP images loaded only when their header fits the file.
#include <gtest/gtest.h>

#include "files.h"
#include "pixels.h"
#include "sprite_helpers.h"

// Slots go first-free, each texture a power of two just holding its image, up to 8192 on a side.
// A full table gives up its oldest mortal slot (the lowest among equals), deleting its texture.
TEST(Sprite, SlotsGoFirstFreeThenToTheOldestMortal) {
    headless_start();
    ScratchSpriteTable table;
    SDL_Surface* image = magenta_surface(70, 40);
    auto load = [&](int w, int h) { return ogl_load_sprite_from_surface(image, rect_of(w, h)); };
    EXPECT_TRUE(load(65, 33) == 0 && get_sprite_width(0) == 65 && get_sprite_height(0) == 33 &&
                sprites[0].w == 128 && sprites[0].h == 64 && load(64, 1) == 1 &&
                sprites[1].w == 64 && sprites[1].h == 1);
    while (SDL_GetTicks() <= 10) SDL_Delay(1);
    for (int i = 2; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
    for (sprite_t& slot : sprites) slot.timestamp = 5;
    sprites[300].timestamp = sprites[700].timestamp = 3;
    sprites[100].timestamp = sprites[100].immortal = 1;
    const GLuint evicted = sprites[300].texture;
    EXPECT_TRUE(load(12, 40) == 300 && get_sprite_width(300) == 12 && !glIsTexture(evicted) &&
                sprites[300].timestamp >= 10 && load(1, 1) == 700);
    for (bool wide : {true, false}) {  // a texture is at most 8192 on a side
        auto side = [&](int along) { return wide ? rect_of(along, 1) : rect_of(1, along); };
        SDL_Surface* big = magenta_surface(side(8193).w, side(8193).h);
        EXPECT_GE(ogl_load_sprite_from_surface(big, side(8192)), 0);
        const std::string out =
            printed([&] { EXPECT_EQ(ogl_load_sprite_from_surface(big, side(8193)), -1); });
        EXPECT_TRUE(one_error(out, "texture"));
        SDL_FreeSurface(big);
    }
    // Each upload frees what it made on the way.
    EXPECT_LT(heap_kept(1000, [&] { load(1, 1); }), 64u << 10);
    SDL_FreeSurface(image);
}

// A BMP's header is checked against the file before SDL allocates what it claims: sizes up
// to a texture's 8192 on a side and 32 bits a pixel, palettes of up to 256 colours, and rows,
// each padded to 4 bytes, that the file holds to its last byte; the old 12-byte header too.
// A refused image is one "ERROR: " line naming it.
TEST(Sprite, ImagesLoadOnlyWhenTheirHeaderFitsTheFileAndATexture) {
    headless_start();
    ScratchFolder dir;
    int files = 0;
    // A w x h 24-bit BMP with the header field at `at` (of `size` bytes) set to `value`,
    // and `more` bytes added or (when negative) cut.
    auto bmp = [&](int w, int h, int at = 0, int size = 0, uint32_t value = 0, int more = 0) {
        SDL_Surface* image = magenta_surface(w, h);
        const std::string path = dir.file("image.bmp");
        SDL_SaveBMP(image, path.c_str());
        SDL_FreeSurface(image);
        std::string bytes = read_file(path);
        for (int i = 0; i < size; i++) bytes[at + i] = static_cast<char>(value >> 8 * i);
        bytes.resize(bytes.size() + more);
        return dir.write(std::to_string(files++) + ".bmp", bytes);
    };
    // The old header: 14 bytes, then 12 of size, 16-bit width, height, planes and bits.
    auto core = [&](int more) {
        std::string bytes = read_file(bmp(4, 2)).substr(54);
        const unsigned char head[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                                      0,   12,  0, 0, 0, 4, 0, 2, 0, 1, 0,  24, 0};
        return dir.write(std::to_string(files++) + ".bmp",
                         std::string(head, head + 26) + bytes.substr(0, 24 + more));
    };
    SDL_Surface* paletted = magenta_surface(3, 2, 8);  // 256 colours; rows of 3 bytes, padded
    SDL_SaveBMP(paletted, dir.file("paletted.bmp").c_str());
    SDL_FreeSurface(paletted);
    const std::pair<std::string, bool> cases[] = {
        {dir.file("paletted.bmp"), true},
        {bmp(4, 2), true},
        {bmp(4, 2, 0, 0, 0, -1), false},  // rows of 12 bytes
        {bmp(3, 2), true},
        {bmp(3, 2, 0, 0, 0, -1), false},  // 9, padded to 12
        {bmp(8192, 1), true},
        {bmp(8192, 1, 18, 4, 8193, 3), false},
        {bmp(1, 8192), true},
        {bmp(1, 8192, 22, 4, 8193, 4), false},
        {bmp(1, 2, 22, 4, -2), true},  // rows from the top
        {bmp(4, 2, 28, 2, 32, 8), true},
        {bmp(4, 2, 28, 2, 33, 64), false},
        {bmp(4, 2, 46, 4, 256), true},
        {bmp(4, 2, 46, 4, 257), false},
        {core(0), true},
        {core(-1), false},
        // No width, rows or bits; bit counts SDL lays out in rows too short for their pixels.
        {bmp(4, 2, 18, 4, 0), false},
        {bmp(4, 2, 22, 4, 0), false},
        {bmp(4, 2, 28, 2, 0), false},
        {bmp(4, 2, 28, 2, 2), false},
        {bmp(4, 2, 28, 2, 0x8001), false}};
    for (const auto& [path, loads] : cases) {
        SDL_Surface* image = nullptr;
        const std::string out = printed([&] { image = load_image(path.c_str()); });
        EXPECT_EQ(image != nullptr, loads) << path << out;
        EXPECT_TRUE(loads ? out.empty() : bool(one_error(out, path))) << out;
        SDL_FreeSurface(image);
    }
}
