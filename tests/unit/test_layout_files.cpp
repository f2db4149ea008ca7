// The six shipped layout files: every tag their screen looks up, rectangles a finger can use,
// and room for every text they show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts.h"
#include "layout.h"
#include "pixels.h"
#include "round.h"

namespace {

struct t_screen_file {
    const char* filename;
    std::vector<std::string> tags;
};

std::vector<std::string> initials_tags() {
    std::vector<std::string> tags = {"title", "backsp_button", "enter_button", "player_initials"};
    for (char c = 'a'; c <= 'z'; c++) tags.push_back(std::string(1, c) + "_button");
    return tags;
}

const std::vector<t_screen_file>& screen_files() {
    static const std::vector<t_screen_file> files = {
        {"main_menu.layout",
         {"title", "qtype_button", "skill_level_button", "start_button", "hiscore_button",
          "quit_button"}},
        {"play.layout", {"bingo_card", "question", "time", "skip_button", "quit_button"}},
        {"round_score.layout", {"bingo_card", "score", "continue_button"}},
        {"get_initials.layout", initials_tags()},
        {"hiscores.layout", {"title", "hiscores", "done_button"}},
        {"game_over.layout",
         {"bingo_card", "question", "time", "continue_button", "prev_button", "next_button"}},
    };
    return files;
}

constexpr float MIN_BUTTON_SIDE = 48;  // about the width of a fingertip

bool is_button(const t_layout_item* item) {
    const std::string tag = item->tag;
    return tag.size() > 7 && tag.compare(tag.size() - 7, 7, "_button") == 0;
}

bool overlap(const t_layout_item* a, const t_layout_item* b) {
    return a->x < b->x + b->w && b->x < a->x + a->w && a->y < b->y + b->h && b->y < a->y + a->h;
}

class LayoutFiles : public ::testing::TestWithParam<t_screen_file> {
   protected:
    void SetUp() override {
        layout = layout_load(GetParam().filename);
        ASSERT_NE(layout, nullptr) << GetParam().filename;
    }
    void TearDown() override { layout_free(layout); }

    std::vector<const t_layout_item*> items() const {
        std::vector<const t_layout_item*> found;
        for (const t_layout_item* item : layout->items)
            if (item) found.push_back(item);
        return found;
    }

    t_screen_layout* layout = nullptr;
};

}  // namespace

TEST_P(LayoutFiles, HoldsExactlyTheTagsItsScreenLooksUp) {
    for (const std::string& tag : GetParam().tags)
        EXPECT_NE(layout_get_item(layout, tag.c_str()), nullptr) << tag;
    EXPECT_EQ(items().size(), GetParam().tags.size()) << "a stray or repeated item";
}

TEST_P(LayoutFiles, EveryRectangleLiesOnTheScreen) {
    for (const t_layout_item* item : items()) {
        EXPECT_GT(item->w, 0) << item->tag;
        EXPECT_GT(item->h, 0) << item->tag;
        EXPECT_GE(item->x, 0) << item->tag;
        EXPECT_GE(item->y, 0) << item->tag;
        EXPECT_LE(item->x + item->w, 800) << item->tag;
        EXPECT_LE(item->y + item->h, 480) << item->tag;
    }
}

TEST_P(LayoutFiles, ButtonsAreFingerSized) {
    for (const t_layout_item* item : items()) {
        if (!is_button(item)) continue;
        EXPECT_GE(item->w, MIN_BUTTON_SIDE) << item->tag;
        EXPECT_GE(item->h, MIN_BUTTON_SIDE) << item->tag;
    }
}

// No screen draws one element over another, and a tap never lands on two.
TEST_P(LayoutFiles, NothingOverlaps) {
    const auto all = items();
    for (size_t i = 0; i < all.size(); i++)
        for (size_t j = i + 1; j < all.size(); j++)
            EXPECT_FALSE(overlap(all[i], all[j])) << all[i]->tag << " and " << all[j]->tag;
}

INSTANTIATE_TEST_SUITE_P(Shipped, LayoutFiles, ::testing::ValuesIn(screen_files()),
                         [](const ::testing::TestParamInfo<t_screen_file>& param_info) {
                             std::string name = param_info.param.filename;
                             return name.substr(0, name.find('.'));
                         });

namespace {

// The widest texts each element can show.
struct t_element_texts {
    const char* filename;
    std::string tag;
    std::vector<std::string> texts;
};

std::vector<t_element_texts> centred_texts() {
    std::vector<t_element_texts> all = {
        {"main_menu.layout", "title", {"Quorvel"}},
        {"main_menu.layout", "qtype_button", {}},
        {"main_menu.layout", "skill_level_button", {}},
        {"main_menu.layout", "start_button", {"Start"}},
        {"main_menu.layout", "hiscore_button", {"High Scores"}},
        {"main_menu.layout", "quit_button", {"Quit"}},
        {"play.layout", "question", {"10000 / 100 = ?", "100 * 100 = ?", "200 - 100 = ?"}},
        {"play.layout", "time", {"GAME OVER", "01:00", "00:00"}},
        {"play.layout", "skip_button", {"Skip"}},
        {"play.layout", "quit_button", {"Quit"}},
        {"round_score.layout", "continue_button", {"Continue"}},
        {"get_initials.layout", "title", {"High Score!"}},
        {"get_initials.layout", "backsp_button", {"backsp"}},
        {"get_initials.layout", "enter_button", {"enter"}},
        {"get_initials.layout", "player_initials", {"WWW", "MMM", "USR"}},
        {"hiscores.layout", "title", {"High Scores"}},
        {"hiscores.layout", "done_button", {"Done"}},
        {"game_over.layout", "question", {"10000 / 100 = 100", "100 * 100 = 10000"}},
        {"game_over.layout", "time", {"GAME OVER"}},
        {"game_over.layout", "continue_button", {"Continue"}},
        {"game_over.layout", "prev_button", {"<"}},
        {"game_over.layout", "next_button", {">"}},
    };
    for (const char* name : qtype_str) all[1].texts.push_back(name);
    for (const char* name : skill_level_str) all[2].texts.push_back(name);
    for (char c = 'A'; c <= 'Z'; c++)
        all.push_back({"get_initials.layout",
                       std::string(1, static_cast<char>(c - 'A' + 'a')) + "_button",
                       {std::string(1, c)}});
    return all;
}

constexpr int TEXT_MARGIN = 4;  // clear of a panel's frame or a button's bevel on each side

// The shipped layouts with the real large font: every text fits inside its element.
class LayoutText : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        load_game_fonts();
    }
    // Room for text across and down an item, less the bevel of a button.
    static float room_w(const t_layout_item* item) {
        return item->w - 2 * (TEXT_MARGIN + (is_button(item) ? item->h / 20 : 0));
    }
    static float room_h(const t_layout_item* item) {
        return item->h - 2 * (is_button(item) ? item->h / 20 : 0);
    }
};

// Loads one shipped layout for the length of a test.
struct t_loaded {
    explicit t_loaded(const char* filename) : layout(layout_load(filename)) {}
    ~t_loaded() { layout_free(layout); }
    t_layout_item* operator[](const char* tag) const { return layout_get_item(layout, tag); }
    t_screen_layout* layout;
};

}  // namespace

TEST_F(LayoutText, CentredTextsFitTheirElements) {
    for (const t_element_texts& element : centred_texts()) {
        t_loaded layout(element.filename);
        const t_layout_item* item = layout[element.tag.c_str()];
        ASSERT_NE(item, nullptr) << element.filename << " " << element.tag;
        EXPECT_LE(large_font->height, room_h(item)) << element.tag;
        for (const std::string& text : element.texts)
            EXPECT_LE(font_strlen(large_font, text.c_str()), room_w(item))
                << element.filename << " " << element.tag << ": " << text;
    }
}

// Every square of every card holds the widest answer, 10000, and a line of the font.
TEST_F(LayoutText, CardSquaresHoldFiveDigitNumbers) {
    for (const char* filename : {"play.layout", "round_score.layout", "game_over.layout"}) {
        t_loaded layout(filename);
        const t_layout_item* card = layout["bingo_card"];
        ASSERT_NE(card, nullptr) << filename;
        EXPECT_LE(font_strlen(large_font, "10000") + 2 * TEXT_MARGIN, card->w / 5 - 3) << filename;
        EXPECT_LE(large_font->height, card->h / 5 - 3) << filename;
    }
}

// Five lines at x + 10 and y + h / 5 * k + 10.
TEST_F(LayoutText, RoundScoreLinesFitTheirPanel) {
    t_loaded layout("round_score.layout");
    const t_layout_item* score = layout["score"];
    ASSERT_NE(score, nullptr);
    for (const char* line : {"Answers (25): 2500", "Bingos (12): 12000", "Blackout (1): 10000",
                             "Seconds Remain (59): 2950", "TOTAL: 27450"})
        EXPECT_LE(10 + font_strlen(large_font, line) + TEXT_MARGIN, score->w) << line;
    EXPECT_LE(score->h / 5 * 4 + 10 + large_font->height, score->h);
}

// Six centred lines h / 6 apart, the first a quarter of the font's height below the top.
TEST_F(LayoutText, HighScoreTableFitsItsPanel) {
    t_loaded layout("hiscores.layout");
    const t_layout_item* table = layout["hiscores"];
    ASSERT_NE(table, nullptr);
    for (const char* line : {"MULTIPLICATION - MEDIUM", "SUBTRACTION - MEDIUM", "27450      WWW"})
        EXPECT_LE(font_strlen(large_font, line) + 2 * TEXT_MARGIN, table->w) << line;
    EXPECT_LE(large_font->height / 4.0 + table->h / 6 * 5 + large_font->height, table->h);
}

// The review writes "GAME OVER" in the small font at (10, 10), over no element.
TEST_F(LayoutText, ReviewCaptionIsClearOfEveryElement) {
    t_loaded layout("game_over.layout");
    const t_layout_item caption = {"caption", 10, 10,
                                   static_cast<float>(font_strlen(small_font, "GAME OVER")),
                                   static_cast<float>(small_font->height)};
    for (const t_layout_item* item : layout.layout->items) {
        if (!item) continue;
        EXPECT_FALSE(overlap(&caption, item)) << item->tag;
    }
}
