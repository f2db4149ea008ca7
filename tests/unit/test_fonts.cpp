// Fonts: glyphs cut from synthetic strips, measuring and drawing, descriptions and strips
// that cannot make a font, and the game's two shipped fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files.h"
#include "fonts.h"
#include "graphics.h"
#include "pixels.h"
#include "sprite_helpers.h"

namespace {

constexpr int STRIP_HEIGHT = 10;
constexpr int INK_TOP = 2;   // glyphs are inked on rows 2 to 7; their sprites span all 10
constexpr int TEXT_Y = 100;  // where the tests write

struct Glyph {
    int first, last;  // inked columns, inclusive
};

// Glyphs inked `widths` columns wide, each after one background column.
std::vector<Glyph> glyph_row(std::vector<int> widths) {
    std::vector<Glyph> glyphs;
    int x = 1;
    for (int w : widths) {
        glyphs.push_back({x, x + w - 1});
        x += w + 1;
    }
    return glyphs;
}

std::vector<int> widths_of(int count, int width = 2) { return std::vector<int>(count, width); }

// Whether column x of the text written at TEXT_Y shows ink (black) rather than the white
// background.
bool ink_at(int x) {
    const auto p = pixel_at(x, TEXT_Y + INK_TOP + 1);
    EXPECT_TRUE(p[0] + p[1] + p[2] < 15 || p[0] + p[1] + p[2] > 750) << x;
    return p[0] < 5;
}

// Synthetic fonts, written to a scratch folder whose short path leaves room in the 31
// characters a description keeps of its strip's name.
class Font : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    }
    void TearDown() override {
        for (t_font* font : fonts_) font_free(font);
    }

    // Writes a strip of `width` columns (just wide enough when 0) and `height` rows with the
    // glyphs inked in black; returns its path.
    std::string write_strip(const std::vector<Glyph>& glyphs, int width = 0,
                            int height = STRIP_HEIGHT) {
        const std::string strip = dir_.file("f" + std::to_string(files_++) + ".bmp");
        SDL_Surface* image = magenta_surface(width ? width : glyphs.back().last + 2, height);
        for (const Glyph& g : glyphs)
            paint(image, g.first, INK_TOP, g.last - g.first + 1, 6, 0, 0, 0);
        EXPECT_EQ(SDL_SaveBMP(image, strip.c_str()), 0);
        SDL_FreeSurface(image);
        return strip;
    }

    // A strip as write_strip makes it and a description naming it; returns the description.
    std::string write_font(const std::vector<Glyph>& glyphs, int width = 0, int space_char = -1,
                           int height = STRIP_HEIGHT) {
        return describe(write_strip(glyphs, width, height), space_char);
    }

    std::string describe(const std::string& strip, int space_char = -1) {
        return write_file("test_font " + std::to_string(space_char) + " 94 " + strip);
    }

    // Writes `text` to the file `name` (a fresh .fnt name when empty); returns its path.
    std::string write_file(const std::string& text, const std::string& name = "") {
        return dir_.write(name.empty() ? "f" + std::to_string(files_++) + ".fnt" : name, text);
    }

    t_font* load(const std::string& description) {
        t_font* font = font_load(description.c_str());
        if (font) fonts_.push_back(font);
        return font;
    }

    ScratchSpriteTable table_;
    ScratchFolder dir_;
    int files_ = 0;
    std::vector<t_font*> fonts_;
};

}  // namespace

TEST_F(Font, GlyphsStartAColumnBeforeTheirInkAndEndWithIt) {
    // Ink from column 0 to 3; from 5 to 9; touching runs 11-12 and 13-14; then 53 more.
    std::vector<Glyph> glyphs = {{0, 3}, {5, 9}, {11, 12}, {13, 14}};
    for (const Glyph& g : glyph_row(widths_of(53))) glyphs.push_back({g.first + 15, g.last + 15});
    t_font* font = load(write_font(glyphs));
    ASSERT_NE(font, nullptr);

    EXPECT_EQ(font->num_chars, 55);  // 56 cut, the last held back
    EXPECT_EQ(get_sprite_width(font->chars[0]), 4);
    EXPECT_EQ(get_sprite_width(font->chars[1]), 6);
    EXPECT_EQ(get_sprite_width(font->chars[2]), 5);
    EXPECT_EQ(font->chars[56], -1);
    EXPECT_EQ(font->height, STRIP_HEIGHT);
    EXPECT_STREQ(font->name, "test_font");
    for (int i = 0; i <= font->num_chars; i++) {
        EXPECT_EQ(get_sprite_height(font->chars[i]), STRIP_HEIGHT);
        EXPECT_TRUE(sprites[font->chars[i]].immortal);
    }

    font_write(font, "!", 100, TEXT_Y, 0);   // inked from its first column
    font_write(font, "\"", 200, TEXT_Y, 0);  // one transparent column before the ink
    EXPECT_TRUE(ink_at(100));
    EXPECT_FALSE(ink_at(200));
    EXPECT_TRUE(ink_at(201) && ink_at(205));
    EXPECT_FALSE(ink_at(206));
}

TEST_F(Font, InkReachingTheLastColumnIsNotCutAndTheLastGlyphCutNotDrawn) {
    std::vector<Glyph> glyphs = glyph_row(widths_of(57));
    t_font* font = load(write_font(glyphs, glyphs.back().last + 1));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->num_chars, 55);
    EXPECT_EQ(font->chars[56], -1);

    font = load(write_font(glyph_row(widths_of(94, 3))));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->num_chars, 93);
    EXPECT_EQ(font_strlen(font, "}~"), 4);
    font_write(font, "~", 100, TEXT_Y, 0);
    for (int x = 100; x < 105; x++) EXPECT_FALSE(ink_at(x));
}

TEST_F(Font, AFontThatCannotBeCompletedIsNotReturned) {
    const std::string bytes = read_file(write_strip(glyph_row(widths_of(56))));
    const std::string truncated = write_file(bytes.substr(0, 500), "cut.bmp");
    // The strip with the header field at `at` (of `size` bytes) set to `value`.
    auto with_field = [&](int at, int size, uint32_t value, const std::string& name) {
        std::string header = bytes;
        for (int i = 0; i < size; i++) header[at + i] = static_cast<char>(value >> 8 * i);
        return describe(write_file(header, name));
    };
    ScratchFolder odd_dir;
    const std::vector<std::string> odd = odd_files(odd_dir);
    const std::string long_strip_name = dir_.file(std::string(40, 's') + ".bmp");
    const struct {
        std::string description;
        std::string message;
    } cases[] = {
        {write_font(glyph_row(widths_of(54))), "holds 54 glyphs; a font needs 55 to 128\n"},
        {write_font(glyph_row(widths_of(129))), "holds 129 glyphs; a font needs 55 to 128\n"},
        {write_file("test -1 94 /tmp/no_such_strip.bmp\n"),
         "ERROR: Unable to load image /tmp/no_such_strip.bmp\n"},
        {dir_.file("missing.fnt"),
         "ERROR: Unable to open the font file: " + dir_.file("missing.fnt")},
        // An empty or truncated description names no strip.
        {write_file(""), "ERROR: Unable to load image \n"},
        {write_file("test -1 94"), "ERROR: Unable to load image \n"},
        // A strip name is cut to 31 characters, which name no file.
        {describe(long_strip_name), "Unable to load image " + long_strip_name.substr(0, 31) + "\n"},
        // Strips that are empty, cut short or no BMP at all.
        {describe(write_file("", "empty.bmp")), "ERROR: Unable to load image"},
        {describe(truncated), "ERROR: Unable to load image " + truncated + "\n"},
        {describe(write_file("not a picture\n", "text.bmp")), "ERROR: Unable to load image"},
        // Bit counts that SDL loads into rows too short for their pixels (found by fuzzing).
        {with_field(28, 2, 2, "2bit.bmp"), "ERROR: Unable to load image"},
        {with_field(28, 2, 0x8001, "bits32769.bmp"), "ERROR: Unable to load image"},
        // Headers claiming more rows than the file holds, or than a texture can be.
        {with_field(22, 4, 0x7FFFFFFF, "tall.bmp"), "ERROR: Unable to load image"},
        {write_font(glyph_row(widths_of(56)), 0, -1, 9000), "ERROR: Unable to load image"},
        // Pipes, devices and folders are neither descriptions nor strips; a description of
        // 1 GiB of zeros is read no further than four words can reach.
        {odd[0], "ERROR: Unable to open the font file: " + odd[0]},
        {odd[1], "ERROR: Unable to open the font file: " + odd[1]},
        {odd[2], "ERROR: Unable to open the font file: " + odd[2]},
        {describe(odd[0]), "ERROR: Unable to load image " + odd[0]},
        {describe(odd[1]), "ERROR: Unable to load image " + odd[1]},
        {huge_file(dir_, "huge.fnt"), "ERROR: Unable to load image \n"},
    };
    const Deadline deadline(5);
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

// A character without a glyph is neither drawn nor measured and does not move the pen.
TEST_F(Font, TextIsMeasuredAndCentredOnXSkippingCharactersWithoutAGlyph) {
    std::vector<int> widths = widths_of(56);
    widths[32] = 100;  // "A", 101 units with its leading column
    t_font* font = load(write_font(glyph_row(widths)));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font_strlen(font, "AA"), 202);
    EXPECT_EQ(font_strlen(font, "\tA\nz\x80"), 101);
    EXPECT_EQ(font_strlen(font, ""), 0);

    font_write(font, "A", 400, TEXT_Y, FONT_CENTRED);
    EXPECT_FALSE(ink_at(350));
    EXPECT_TRUE(ink_at(351) && ink_at(450));
    EXPECT_FALSE(ink_at(451));
    font_write(font, "\t\x80zA", 600, TEXT_Y, 0);
    EXPECT_FALSE(ink_at(600));
    EXPECT_TRUE(ink_at(601));

    EXPECT_EQ(font_strlen(nullptr, "A"), 0);
    EXPECT_EQ(font_strlen(font, nullptr), 0);
    EXPECT_EQ(font_height(nullptr), 0);
    font_write(nullptr, "A", 100, TEXT_Y, 0);
    font_free(nullptr);
}

TEST_F(Font, SpacesAreGapsAsWideAsNOrTheChosenGlyph) {
    std::vector<int> widths = widths_of(94);
    widths[32] = 3;  // A
    widths[33] = 7;  // B
    widths[77] = 5;  // n
    widths[1] = 9;   // "
    t_font* gap = load(write_font(glyph_row(widths), 0, -1));
    t_font* drawn = load(write_font(glyph_row(widths), 0, 1));
    ASSERT_TRUE(gap && drawn);

    EXPECT_EQ(font_strlen(gap, "A B"), 4 + 6 + 8);
    font_write(gap, "A B", 100, TEXT_Y, 0);
    EXPECT_TRUE(ink_at(103));
    for (int x = 104; x <= 110; x++) EXPECT_FALSE(ink_at(x));
    EXPECT_TRUE(ink_at(111));  // B starts where "A " ends

    EXPECT_EQ(font_strlen(drawn, "A B"), 4 + 10 + 8);
    font_write(drawn, "A B", 200, TEXT_Y, 0);
    EXPECT_FALSE(ink_at(204));
    EXPECT_TRUE(ink_at(205));  // the space draws glyph 1
    EXPECT_TRUE(ink_at(215));  // and B follows it
}

// Each field is one word: a bad number leaves its default and shifts no later field; the
// count is never used; words after the strip's name are ignored; names are cut to fit.
TEST_F(Font, DescriptionFieldsAreOneWordEachAndBadNumbersLeaveTheirDefaults) {
    const std::string strip = write_strip(glyph_row(widths_of(56)));
    const std::string long_name(40, 'x');
    const struct {
        std::string text, name;
        int space_char;
    } cases[] = {
        {"test x 94 " + strip, "test", -1},
        {"test 3x 94 " + strip, "test", -1},
        {"test 99999999999 94 " + strip, "test", -1},
        {"test 12 many " + strip, "test", 12},
        {"test 7 94 " + strip + " more words\n1 2 3\n", "test", 7},
        {long_name + "\n-1\n94\n" + strip + "\n", long_name.substr(0, 31), -1},
    };
    for (const auto& c : cases) {
        t_font* font = load(write_file(c.text));
        ASSERT_NE(font, nullptr) << c.text;
        EXPECT_EQ(font->name, c.name) << c.text;
        EXPECT_EQ(font->space_char, c.space_char) << c.text;
        EXPECT_EQ(font->num_chars, 55) << c.text;
    }
    const std::string description = write_file("test -1 94 " + strip, std::string(40, 'd'));
    t_font* font = load(description);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(std::string(font->filename), description.substr(0, 31));
}

// The game's own fonts, from the game folder the tests run in: whole, of the heights the
// layouts are made for, and legible on white card squares, panels and buttons, with no
// pixel tinted toward the magenta key.
TEST(ShippedFont, BothFontsLoadWholeAndReadOnTheGamesBackgrounds) {
    headless_start();
    ScratchSpriteTable table;
    const float backgrounds[][3] = {{1, 1, 1}, {0.8f, 0.8f, 1}, {0.8f, 0.8f, 0.3f}};
    for (const auto& [file, height] : {std::pair{"small_font.fnt", 20}, {"large_font.fnt", 34}}) {
        t_font* font = font_load(file);
        ASSERT_NE(font, nullptr) << file;
        EXPECT_EQ(font->num_chars, 93);
        EXPECT_EQ(font->height, height);
        EXPECT_LT(font->space_char, 0);
        EXPECT_LE(font_strlen(font, "10000"), 92);  // fits a card square
        for (const auto& bg : backgrounds) {
            put_quad(0, 0, 800, 480, bg[0], bg[1], bg[2], 1);
            font_write(font, "10000", 400, 100, FONT_CENTRED);
            int ink = 0;
            for (int y = 100; y < 100 + height; y++)
                for (int x = 340; x < 460; x++) {
                    const auto p = pixel_at(x, y);
                    ink += std::abs(p[0] - bg[0] * 255) + std::abs(p[1] - bg[1] * 255) +
                               std::abs(p[2] - bg[2] * 255) >
                           250;
                    EXPECT_FALSE(p[0] > p[1] + 60 && p[2] > p[1] + 60) << x << "," << y;
                }
            EXPECT_GT(ink, 5 * height) << file << " on " << bg[0] << "," << bg[1] << "," << bg[2];
        }
        font_free(font);
    }
}
