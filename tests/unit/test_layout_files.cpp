// The six shipped layout files: every tag their screen looks up, rectangles a finger can use,
// and room for every text they show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts.h"
#include "layout.h"
#include "pixels.h"
#include "round.h"
#include "screen_helpers.h"

namespace {

constexpr float MIN_BUTTON_SIDE = 48;  // about the width of a fingertip
constexpr int TEXT_MARGIN = 4;         // clear of a panel's frame or a button's bevel on each side

bool is_button(const t_layout_item* item) {
    const std::string tag = item->tag;
    return tag.size() > 7 && tag.compare(tag.size() - 7, 7, "_button") == 0;
}

bool overlap(const t_layout_item* a, const t_layout_item* b) {
    return a->x < b->x + b->w && b->x < a->x + a->w && a->y < b->y + b->h && b->y < a->y + a->h;
}

std::vector<const t_layout_item*> items_of(const t_screen_layout* layout) {
    std::vector<const t_layout_item*> found;
    for (const t_layout_item* item : layout->items)
        if (item) found.push_back(item);
    return found;
}

// Each shipped layout with the widest texts each of its elements can show; the elements are
// exactly the tags its screen looks up.
struct t_screen_file {
    const char* filename;
    std::vector<std::pair<std::string, std::vector<std::string>>> elements;
};

std::vector<t_screen_file> screen_files() {
    std::vector<t_screen_file> files = {
        {"main_menu.layout",
         {{"title", {"Quorvel"}},
          {"qtype_button", {}},
          {"skill_level_button", {}},
          {"start_button", {"Start"}},
          {"hiscore_button", {"High Scores"}},
          {"quit_button", {"Quit"}}}},
        {"play.layout",
         {{"bingo_card", {}},
          {"question", {"10000 / 100 = ?", "100 * 100 = ?", "200 - 100 = ?"}},
          {"time", {"GAME OVER", "01:00", "00:00"}},
          {"skip_button", {"Skip"}},
          {"quit_button", {"Quit"}}}},
        {"round_score.layout",
         {{"bingo_card", {}}, {"score", {}}, {"continue_button", {"Continue"}}}},
        {"get_initials.layout",
         {{"title", {"High Score!"}},
          {"backsp_button", {"backsp"}},
          {"enter_button", {"enter"}},
          {"player_initials", {"WWW", "MMM", "USR"}}}},
        {"hiscores.layout",
         {{"title", {"High Scores"}}, {"hiscores", {}}, {"done_button", {"Done"}}}},
        {"game_over.layout",
         {{"bingo_card", {}},
          {"question", {"10000 / 100 = 100", "100 * 100 = 10000"}},
          {"time", {"GAME OVER"}},
          {"continue_button", {"Continue"}},
          {"prev_button", {"<"}},
          {"next_button", {">"}}}},
    };
    for (const char* name : qtype_str) files[0].elements[1].second.push_back(name);
    for (const char* name : skill_level_str) files[0].elements[2].second.push_back(name);
    for (char c = 'a'; c <= 'z'; c++)
        files[3].elements.push_back(
            {std::string(1, c) + "_button", {std::string(1, c - 'a' + 'A')}});
    return files;
}

// The shipped layouts, measured with the real large font.
class LayoutFiles : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        load_game_fonts();
    }
};

}  // namespace

// Every rectangle lies on the 800 x 480 screen, buttons are finger-sized, no element is drawn
// over another (so a tap never lands on two), no item is stray or repeated, and centred texts
// fit across and down their elements, less a button's bevel (h / 20).
TEST_F(LayoutFiles, HoldTheirScreensTagsOnScreenFingerSizedApartAndWithRoomForTheirTexts) {
    for (const t_screen_file& file : screen_files()) {
        SCOPED_TRACE(file.filename);
        LayoutPtr layout(layout_load(file.filename));
        ASSERT_NE(layout, nullptr);
        for (const auto& [tag, texts] : file.elements) {
            const t_layout_item* item = layout_get_item(layout.get(), tag.c_str());
            ASSERT_NE(item, nullptr) << tag;
            const float bevel = is_button(item) ? item->h / 20 : 0;
            EXPECT_LE(large_font->height, item->h - 2 * bevel) << tag;
            for (const std::string& text : texts)
                EXPECT_LE(font_strlen(large_font, text.c_str()),
                          item->w - 2 * (TEXT_MARGIN + bevel))
                    << tag << ": " << text;
        }
        const auto all = items_of(layout.get());
        EXPECT_EQ(all.size(), file.elements.size()) << "a stray or repeated item";
        for (size_t i = 0; i < all.size(); i++) {
            const t_layout_item* item = all[i];
            EXPECT_TRUE(item->w > 0 && item->h > 0 && item->x >= 0 && item->y >= 0 &&
                        item->x + item->w <= 800 && item->y + item->h <= 480)
                << item->tag;
            EXPECT_TRUE(!is_button(item) ||
                        (item->w >= MIN_BUTTON_SIDE && item->h >= MIN_BUTTON_SIDE))
                << item->tag;
            for (size_t j = i + 1; j < all.size(); j++)
                EXPECT_FALSE(overlap(item, all[j])) << item->tag << " and " << all[j]->tag;
        }
    }
}

// Every square of every card holds the widest answer, 10000, and a line of the font.
TEST_F(LayoutFiles, CardSquaresHoldFiveDigitNumbers) {
    for (const char* filename : {"play.layout", "round_score.layout", "game_over.layout"}) {
        const t_layout_item card = layout_item_of(filename, "bingo_card");
        EXPECT_LE(font_strlen(large_font, "10000") + 2 * TEXT_MARGIN, card.w / 5 - 3) << filename;
        EXPECT_LE(large_font->height, card.h / 5 - 3) << filename;
    }
}

// The round score's five lines at x + 10 and y + h / 5 * k + 10; the table's six centred
// lines h / 6 apart, the first a quarter of the font's height below the top.
TEST_F(LayoutFiles, RoundScoreLinesAndHighScoreTableFitTheirPanels) {
    const t_layout_item score = layout_item_of("round_score.layout", "score");
    for (const char* line : {"Answers (25): 2500", "Bingos (12): 12000", "Blackout (1): 10000",
                             "Seconds Remain (59): 2950", "TOTAL: 27450"})
        EXPECT_LE(10 + font_strlen(large_font, line) + TEXT_MARGIN, score.w) << line;
    EXPECT_LE(score.h / 5 * 4 + 10 + large_font->height, score.h);

    const t_layout_item table = layout_item_of("hiscores.layout", "hiscores");
    for (const char* line : {"MULTIPLICATION - MEDIUM", "SUBTRACTION - MEDIUM", "27450      WWW"})
        EXPECT_LE(font_strlen(large_font, line) + 2 * TEXT_MARGIN, table.w) << line;
    EXPECT_LE(large_font->height / 4.0 + table.h / 6 * 5 + large_font->height, table.h);
}

// The review writes "GAME OVER" in the small font at (10, 10), over no element.
TEST_F(LayoutFiles, ReviewCaptionIsClearOfEveryElement) {
    LayoutPtr layout(layout_load("game_over.layout"));
    const t_layout_item caption = {"caption", 10, 10,
                                   static_cast<float>(font_strlen(small_font, "GAME OVER")),
                                   static_cast<float>(small_font->height)};
    for (const t_layout_item* item : items_of(layout.get()))
        EXPECT_FALSE(overlap(&caption, item)) << item->tag;
}
