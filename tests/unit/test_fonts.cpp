#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fonts.h"
#include "graphics.h"
#include "headless.h"
#include "sprite_helpers.h"

namespace {

constexpr int STRIP_HEIGHT = 10;
constexpr int INK_TOP = 2;  // glyphs are inked on rows 2 to 7; their sprites span all 10
constexpr int INK_ROWS = 6;

struct Glyph {
    int first, last;  // inked columns, inclusive
};

// Glyphs inked `widths` columns wide, each after one background column.
std::vector<Glyph> glyph_row(const std::vector<int>& widths) {
    std::vector<Glyph> glyphs;
    int x = 1;
    for (int w : widths) {
        glyphs.push_back({x, x + w - 1});
        x += w + 1;
    }
    return glyphs;
}

std::vector<int> same_widths(int count, int width = 2) { return std::vector<int>(count, width); }

bool is_white(std::array<GLubyte, 4> rgba) {
    return rgba[0] > 250 && rgba[1] > 250 && rgba[2] > 250;
}
bool is_black(std::array<GLubyte, 4> rgba) { return rgba[0] < 5 && rgba[1] < 5 && rgba[2] < 5; }

// Synthetic fonts are written to a directory of their own, with names short enough for
// the 31 characters a description keeps of its strip's name.
class Font : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        clear_screen();
        put_quad(0, 0, 800, 480, 1, 1, 1, 1);
        char pattern[] = "/tmp/qfontXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (t_font* font : fonts_) font_free(font);
        for (const std::string& file : files_) remove(file.c_str());
        rmdir(dir_.c_str());
    }

    std::string path(const std::string& name) {
        files_.push_back(dir_ + "/" + name);
        return files_.back();
    }

    // Writes a strip of `width` columns (just wide enough when 0) and `height` rows with the
    // glyphs inked in black, and a description naming it; returns the description's path.
    std::string write_font(const std::vector<Glyph>& glyphs, int width = 0, int space_char = -1,
                           int height = STRIP_HEIGHT) {
        const std::string base = "f" + std::to_string(files_.size());
        SDL_Surface* strip = magenta_surface(width ? width : glyphs.back().last + 2, height);
        for (const Glyph& g : glyphs)
            paint(strip, g.first, INK_TOP, g.last - g.first + 1, INK_ROWS, 0, 0, 0);
        EXPECT_EQ(SDL_SaveBMP(strip, path(base + ".bmp").c_str()), 0);
        SDL_FreeSurface(strip);
        return write_description(base, "test_font " + std::to_string(space_char) + " 94 " + dir_ +
                                           "/" + base + ".bmp\n");
    }

    std::string write_description(const std::string& base, const std::string& text) {
        const std::string name = path(base + ".fnt");
        FILE* file = fopen(name.c_str(), "w");
        fputs(text.c_str(), file);
        fclose(file);
        return name;
    }

    t_font* load(const std::string& description) {
        t_font* font = font_load(description.c_str());
        if (font) fonts_.push_back(font);
        return font;
    }

    // A row through the ink of text written with its top at y.
    static int ink_row(int y) { return y + INK_TOP + 1; }

    ScratchSpriteTable table_;
    std::string dir_;
    std::vector<std::string> files_;
    std::vector<t_font*> fonts_;
};

}  // namespace

TEST_F(Font, GlyphsStartAColumnBeforeTheirInkAndEndWithIt) {
    // Ink from column 0 to 3; from 5 to 9; touching runs 11-12 and 13-14; then 53 more.
    std::vector<Glyph> glyphs = {{0, 3}, {5, 9}, {11, 12}, {13, 14}};
    for (const Glyph& g : glyph_row(same_widths(53))) glyphs.push_back({g.first + 15, g.last + 15});
    t_font* font = load(write_font(glyphs));
    ASSERT_NE(font, nullptr);

    EXPECT_EQ(font->num_chars, 55);  // 56 cut, the last held back
    EXPECT_EQ(get_sprite_width(font->chars[0]), 4);
    EXPECT_EQ(get_sprite_width(font->chars[1]), 6);
    EXPECT_EQ(get_sprite_width(font->chars[2]), 5);
    EXPECT_EQ(font->chars[56], -1);
    EXPECT_EQ(font->height, STRIP_HEIGHT);
    EXPECT_EQ(font_height(font), STRIP_HEIGHT);
    EXPECT_STREQ(font->name, "test_font");
    for (int i = 0; i <= font->num_chars; i++) {
        EXPECT_EQ(get_sprite_height(font->chars[i]), STRIP_HEIGHT);
        EXPECT_TRUE(sprites[font->chars[i]].immortal);
    }

    font_write(font, "!", 100, 100, 0);   // inked from its first column
    font_write(font, "\"", 200, 100, 0);  // one transparent column before the ink
    EXPECT_TRUE(is_black(pixel_at(100, ink_row(100))));
    EXPECT_TRUE(is_white(pixel_at(100, 100 + INK_TOP - 1)));
    EXPECT_TRUE(is_white(pixel_at(200, ink_row(100))));
    EXPECT_TRUE(is_black(pixel_at(201, ink_row(100))));
    EXPECT_TRUE(is_black(pixel_at(205, ink_row(100))));
    EXPECT_TRUE(is_white(pixel_at(206, ink_row(100))));
}

TEST_F(Font, InkReachingTheLastColumnIsNotCut) {
    std::vector<Glyph> glyphs = glyph_row(same_widths(57));
    t_font* font = load(write_font(glyphs, glyphs.back().last + 1));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->num_chars, 55);
    EXPECT_EQ(font->chars[56], -1);
}

TEST_F(Font, OfNinetyFourGlyphsTheTildeIsNeitherDrawnNorMeasured) {
    t_font* font = load(write_font(glyph_row(same_widths(94, 3))));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->num_chars, 93);
    EXPECT_GE(font->chars[93], 0);
    EXPECT_EQ(font_strlen(font, "~"), 0);
    EXPECT_EQ(font_strlen(font, "}"), 4);
    font_write(font, "~", 100, 100, 0);
    for (int x = 100; x < 105; x++) EXPECT_TRUE(is_white(pixel_at(x, ink_row(100))));
}

TEST_F(Font, AFontThatCannotBeCompletedIsNotReturned) {
    const struct {
        std::string description;
        std::string message;
    } cases[] = {
        {write_font(glyph_row(same_widths(54))), "holds 54 glyphs; a font needs 55 to 128\n"},
        {write_font(glyph_row(same_widths(129))), "holds 129 glyphs; a font needs 55 to 128\n"},
        {write_description("nostrip", "test -1 94 /tmp/no_such_strip.bmp\n"),
         "ERROR: Unable to load image /tmp/no_such_strip.bmp\n"},
        {dir_ + "/missing.fnt", "ERROR: Unable to open the font file: " + dir_ + "/missing.fnt\n"},
        // Too high for a texture: the first glyph cannot be made.
        {write_font(glyph_row(same_widths(56)), 0, -1, 9000),
         "ERROR: Unable to allocate sprite texture.\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(load(c.description), nullptr) << c.description;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
    }
    // The glyphs cut before giving up went back to the cache.
    EXPECT_NE(sprites[0].texture, 0u);
    EXPECT_FALSE(sprites[0].immortal);
    EXPECT_STREQ(sprites[0].filename, "");
}

TEST_F(Font, TextIsMeasuredAndCentredOnX) {
    std::vector<int> widths = same_widths(56);
    widths[32] = 100;  // "A", 101 units with its leading column
    t_font* font = load(write_font(glyph_row(widths)));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font_strlen(font, "A"), 101);
    EXPECT_EQ(font_strlen(font, "AA"), 202);
    EXPECT_EQ(font_strlen(font, ""), 0);

    font_write(font, "A", 400, 100, FONT_CENTRED);
    EXPECT_TRUE(is_white(pixel_at(350, ink_row(100))));
    EXPECT_TRUE(is_black(pixel_at(351, ink_row(100))));
    EXPECT_TRUE(is_black(pixel_at(450, ink_row(100))));
    EXPECT_TRUE(is_white(pixel_at(451, ink_row(100))));
    font_write(font, "A", 400, 200, 0);
    EXPECT_TRUE(is_white(pixel_at(400, ink_row(200))));
    EXPECT_TRUE(is_black(pixel_at(401, ink_row(200))));
}

TEST_F(Font, SpacesAreGapsAsWideAsNOrTheChosenGlyph) {
    std::vector<int> widths = same_widths(94);
    widths[32] = 3;  // A
    widths[33] = 7;  // B
    widths[77] = 5;  // n
    widths[1] = 9;   // "
    t_font* gap = load(write_font(glyph_row(widths), 0, -1));
    t_font* drawn = load(write_font(glyph_row(widths), 0, 1));
    ASSERT_NE(gap, nullptr);
    ASSERT_NE(drawn, nullptr);

    EXPECT_EQ(font_strlen(gap, "A B"), 4 + 6 + 8);
    font_write(gap, "A B", 100, 100, 0);
    EXPECT_TRUE(is_black(pixel_at(103, ink_row(100))));
    for (int x = 104; x <= 110; x++) EXPECT_TRUE(is_white(pixel_at(x, ink_row(100)))) << x;
    EXPECT_TRUE(is_black(pixel_at(111, ink_row(100))));  // B starts where "A " ends

    EXPECT_EQ(font_strlen(drawn, "A B"), 4 + 10 + 8);
    font_write(drawn, "A B", 100, 200, 0);
    EXPECT_TRUE(is_white(pixel_at(104, ink_row(200))));
    EXPECT_TRUE(is_black(pixel_at(105, ink_row(200))));  // the space draws glyph 1
    EXPECT_TRUE(is_black(pixel_at(115, ink_row(200))));  // and B follows it
}

TEST_F(Font, CharactersWithoutAGlyphAreSkipped) {
    t_font* font = load(write_font(glyph_row(same_widths(56, 3))));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font_strlen(font, "\tA\n"), 4);
    EXPECT_EQ(font_strlen(font, "z\x80"), 0);
    font_write(font,
               "\t\x80z"
               "A",
               100, 100, 0);
    EXPECT_TRUE(is_white(pixel_at(100, ink_row(100))));
    EXPECT_TRUE(is_black(pixel_at(101, ink_row(100))));  // A drawn where the text starts
}

TEST_F(Font, NullFontsAndNullTextDrawAndMeasureNothing) {
    EXPECT_EQ(font_strlen(nullptr, "A"), 0);
    EXPECT_EQ(font_height(nullptr), 0);
    font_write(nullptr, "A", 100, 100, 0);
    font_free(nullptr);
    t_font* font = new_font();
    EXPECT_STREQ(font->name, "");
    EXPECT_EQ(font->space_char, -1);
    EXPECT_EQ(font->chars[0], -1);
    EXPECT_EQ(font->chars[FONT_MAX_GLYPHS - 1], -1);
    EXPECT_EQ(font->height, 0);
    EXPECT_EQ(font_strlen(font, nullptr), 0);
    font_write(font, nullptr, 100, 100, 0);
    font_free(font);
}

TEST_F(Font, LongNamesAreCutToFit) {
    const std::string long_name(40, 'x');
    write_font(glyph_row(same_widths(56)));  // f0.bmp
    const std::string description = write_description(
        "a_description_file_with_a_long_name", long_name + "\n-1\n94\n" + dir_ + "/f0.bmp\n");

    t_font* font = load(description);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(std::string(font->name), long_name.substr(0, 31));
    EXPECT_EQ(std::string(font->filename), description.substr(0, 31));
    EXPECT_EQ(font->space_char, -1);
    EXPECT_EQ(font->num_chars, 55);
}

// The game's own fonts, from the game folder the tests run in.
class ShippedFont : public ::testing::Test {
   protected:
    ScratchSpriteTable table_;

    void SetUp() override {
        headless_start();
        clear_screen();
    }

    // Writes "10000" in the font on a background and expects clear ink and no pixel
    // tinted toward the magenta key.
    void expect_legible(t_font* font, float r, float g, float b) {
        put_quad(0, 0, 800, 480, r, g, b, 1);
        font_write(font, "10000", 400, 100, FONT_CENTRED);
        const int bg[3] = {static_cast<int>(r * 255), static_cast<int>(g * 255),
                           static_cast<int>(b * 255)};
        int ink = 0;
        for (int y = 100; y < 100 + font->height; y++)
            for (int x = 340; x < 460; x++) {
                const auto p = pixel_at(x, y);
                ink += abs(p[0] - bg[0]) + abs(p[1] - bg[1]) + abs(p[2] - bg[2]) > 250;
                EXPECT_FALSE(p[0] > p[1] + 60 && p[2] > p[1] + 60)
                    << "magenta fringe at " << x << "," << y;
            }
        EXPECT_GT(ink, 5 * font->height) << font->name << " on " << r << "," << g << "," << b;
    }
};

TEST_F(ShippedFont, BothFontsLoadWithEveryGlyphAndReadOnTheGamesBackgrounds) {
    const struct {
        const char* file;
        int height;
    } shipped[] = {{"small_font.fnt", 20}, {"large_font.fnt", 34}};
    for (const auto& s : shipped) {
        t_font* font = font_load(s.file);
        ASSERT_NE(font, nullptr) << s.file;
        EXPECT_EQ(font->num_chars, 93);
        EXPECT_EQ(font->height, s.height);
        for (int i = 0; i <= 93; i++) EXPECT_TRUE(sprites[font->chars[i]].immortal) << i;
        EXPECT_LT(font->space_char, 0);
        expect_legible(font, 1.0f, 1.0f, 1.0f);  // card square
        expect_legible(font, 0.8f, 0.8f, 1.0f);  // panel
        expect_legible(font, 0.8f, 0.8f, 0.3f);  // button
        font_free(font);
    }
}

TEST_F(ShippedFont, CardNumbersFitTheirSquares) {
    t_font* font = font_load("large_font.fnt");
    ASSERT_NE(font, nullptr);
    EXPECT_LE(font_strlen(font, "10000"), 92);
    EXPECT_LE(font->height, 40);
    font_free(font);
}
