// Fonts: glyphs cut from the kept strips, text measured and drawn with them, and files that
// make no font.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "datafile.h"
#include "files.h"
#include "fonts.h"
#include "pixels.h"

namespace {

// Row 4 (the strips' glyphs are inked on rows 2 to 7 of 10) of the frame from x on.
std::string ink(int x, int n) {
    std::string row;
    for (int i = x; i < x + n; i++) row += pixel_at(i, 4)[0] < 128 ? '#' : ' ';
    return row;
}

class Font : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);
    }
    void TearDown() override {
        for (t_font* font : fonts_) EXPECT_EQ(printed([&] { font_free(font); }), "");
    }

    // The kept strip `name` (tests/images) under a name short enough for a description.
    std::string strip(const char* name) {
        const std::string path = dir_.file(std::to_string(files_++) + ".bmp");
        std::filesystem::create_symlink(std::string(TESTS_DIR "/images/") + name, path);
        return path;
    }

    // A description: `fields` (name, space glyph, count) and then the strip's name.
    static constexpr const char* FIELDS = "test -1 94";
    static constexpr size_t MOST_BYTES = 4 * DATAFILE_WORD_BYTES;  // four words at their widest
    std::string describe(const std::string& strip, const std::string& fields = FIELDS) {
        return dir_.write(std::to_string(files_++) + ".fnt", fields + " " + strip);
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

// A glyph starts a column before its ink (at the strip's edge, with it) and ends with it;
// ink reaching the last column is not cut, and the last glyph cut is held back. Characters
// without a glyph are neither drawn nor measured. A space is a gap as wide as "n", or the
// glyph the description names: each of its fields is one word, a bad number keeping -1.
// The 94 glyphs are 2 columns wide, but '!' (1), '"' (9), 'A' (100), 'B' (7) and 'n' (5).
TEST_F(Font, GlyphsAreCutFromInkedRunsAndTextIsMeasuredAndDrawnWithThem) {
    const std::string strip94 = strip("strip_94_glyphs.bmp");
    t_font* gap = load(describe(strip94, std::string(40, 'x') + " 3x 94"));
    t_font* drawn = load(dir_.write("d.fnt", "test 1 many " + strip94 + " more\n1 2"));
    ASSERT_NE(gap, nullptr);
    ASSERT_NE(drawn, nullptr);
    const std::string to_the_last_byte(MOST_BYTES - strlen(FIELDS) - strip94.size(), ' ');
    EXPECT_NE(load(dir_.write("p.fnt", FIELDS + to_the_last_byte + strip94)), nullptr);
    // The largest int names no glyph, so a space is nothing; one beyond it is no int, even one
    // that would wrap round to glyph 1.
    for (const auto& [fields, space] : {std::pair{"test x 94", 6},
                                        {"test 2147483648 94", 6},
                                        {"test 4294967297 94", 6},
                                        {"test 2147483647 94", 0}})
        EXPECT_EQ(font_strlen(load(describe(strip94, fields)), " "), space) << fields;
    EXPECT_EQ(font_height(gap), 10);
    EXPECT_TRUE(sprites[gap->chars[0]].immortal) << "a font's glyphs are never evicted";
    EXPECT_EQ(font_strlen(nullptr, "A"), 0);
    EXPECT_EQ(font_strlen(gap, nullptr), 0);
    EXPECT_EQ(font_height(nullptr), 0);
    EXPECT_EQ(font_strlen(gap, "!\"AA"), 1 + 10 + 202);
    font_write(gap, "!\"", 0, 0, 0);
    font_write(gap, "\t\200\241A B", 100, 0, 0);
    font_write(gap, "A", 500, 0, FONT_CENTRED);
    font_write(drawn, "A B", 600, 0, 0);
    font_write(load(describe(strip94, "test 0 94")), " ", 740, 0, 0);  // 0: "n", and drawn
    const std::string a = " " + std::string(100, '#'), b = " " + std::string(7, '#') + " ";
    EXPECT_EQ(ink(0, 12), "# " + std::string(9, '#') + " ");
    EXPECT_EQ(ink(100, 116), a + "      " + b);
    EXPECT_EQ(ink(449, 103), " " + a + " ");
    EXPECT_EQ(ink(600, 120), a + " " + std::string(9, '#') + b);
    EXPECT_EQ(ink(740, 7), " ##### ");
    EXPECT_NE(load(describe(strip("strip_128_glyphs.bmp"))), nullptr);  // the most a font takes
    t_font* edge = load(describe(strip("strip_55_glyphs_inked_to_the_edge.bmp")));
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(font_strlen(edge, "W"), 0);  // the last of 55 glyphs, held back: no 56th was cut
    EXPECT_EQ(font_height(edge), 10);
    EXPECT_EQ(font_strlen(load(describe(strip("strip_inked_on_the_top_row.bmp"))), "!"), 3);
    const std::string most = describe(strip("strip_128_glyphs.bmp"));
    const auto load_and_free = [&] { font_free(font_load(most.c_str())); };
    heap_kept(10, load_and_free);  // until the sprite table is full and its slots are reused
    EXPECT_LT(heap_kept(20, load_and_free), 64u << 10) << "a font load keeps memory";
}

// Strips are cut alike in every pixel format SDL keeps as it is: 8, 16, 24 and 32 bits.
TEST_F(Font, GlyphsAreCutAlikeInEveryPixelFormat) {
    for (const char* bits : {"8", "16", "32"}) {
        const std::string name = std::string("strip_94_glyphs_") + bits + "_bits.bmp";
        EXPECT_EQ(font_strlen(load(describe(strip(name.c_str()))), "!\"AAn"), 1 + 10 + 202 + 6)
            << bits;
    }
}

// Descriptions or strips that cannot be read, strips of fewer than 55 or more than 128
// glyphs: one "ERROR: " line naming the file, at once, and no font; the glyphs cut so far
// go back to the cache. (Strips whose header lies are the image loader's.)
TEST_F(Font, AFontThatCannotBeCompletedIsNotReturned) {
    const std::string long_name = dir_.file(std::string(40, 's'));
    std::vector<std::pair<std::string, std::string>> cases = {
        // a description, what is named
        {dir_.write("e.fnt", ""), "image \n"},
        {dir_.write("s.fnt", FIELDS), "image \n"},
        {huge_file(dir_, "h.fnt"), "image \n"},
        {dir_.write("far.fnt", FIELDS + std::string(MOST_BYTES - strlen(FIELDS), ' ') + "s.bmp"),
         "image \n"},
        {describe(long_name), long_name.substr(0, FONT_NAME_SIZE - 1) + "\n"}};
    for (const char* name : {"strip_no_glyphs.bmp", "strip_54_glyphs.bmp", "strip_129_glyphs.bmp",
                             "headers/refused_empty.bmp", "headers/refused_not_a_picture.bmp"}) {
        const std::string path = strip(name);
        cases.emplace_back(describe(path), path);
    }
    ScratchFolder odd_dir;
    std::vector<std::string> odd = odd_files(odd_dir);
    odd.push_back(dir_.file("absent"));
    for (const std::string& file : odd) {
        cases.emplace_back(file, file);
        cases.emplace_back(describe(file), file);
    }
    for (const auto& [description, named] : cases)
        EXPECT_TRUE(one_error(printed([&] { EXPECT_EQ(load(description), nullptr); }), named))
            << description;
    EXPECT_NE(sprites[0].texture, 0u) << "the first glyph cut";
    EXPECT_FALSE(sprites[0].immortal) << "given back";
    EXPECT_STREQ(sprites[0].filename, "");
}
