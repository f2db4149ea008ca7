// The six shipped layout files: every tag their screen looks up, rectangles a finger can use,
// and room for every text they show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels.h"
#include "round.h"
#include "screen_helpers.h"

namespace {

bool overlap(const t_layout_item& a, const t_layout_item& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

struct t_element {
    std::string tag;
    std::vector<std::string> texts;  // the widest each can show, centred in the large font
};

}  // namespace

// Every rectangle lies on the 800 x 480 screen, buttons are at least a fingertip (48 units)
// wide and high, no element overlaps another (so a tap never lands on two), nor the review's
// "GAME OVER" caption in the small font at (10, 10); no item is stray or repeated, and texts
// fit across and down their elements, 4 units clear of a frame or a button's bevel (h / 20).
TEST(LayoutFiles, HoldTheirScreensTagsOnScreenFingerSizedApartAndWithRoomForTheirTexts) {
    headless_start();
    load_game_fonts();
    std::vector<t_element> menu = {{"title", {"Quorvel"}},
                                   {"start_button", {"Start"}},
                                   {"hiscore_button", {"High Scores"}},
                                   {"quit_button", {"Quit"}},
                                   {"qtype_button", {qtype_str, qtype_str + NUM_QTYPES}},
                                   {"skill_level_button", {skill_level_str, skill_level_str + 3}}};
    std::vector<t_element> initials = {{"title", {"High Score!"}},
                                       {"backsp_button", {"backsp"}},
                                       {"enter_button", {"enter"}},
                                       {"player_initials", {"WWW", "MMM"}}};
    for (char c = 'A'; c <= 'Z'; c++)
        initials.push_back({std::string(1, c + 'a' - 'A') + "_button", {std::string(1, c)}});
    const std::pair<const char*, std::vector<t_element>> files[] = {
        {"main_menu.layout", menu},
        {"play.layout",
         {{"bingo_card", {}},
          {"question", {"10000 / 100 = ?", "100 * 100 = ?"}},
          {"time", {"GAME OVER", "00:00"}},
          {"skip_button", {"Skip"}},
          {"quit_button", {"Quit"}}}},
        {"round_score.layout",
         {{"bingo_card", {}}, {"score", {}}, {"continue_button", {"Continue"}}}},
        {"get_initials.layout", initials},
        {"hiscores.layout",
         {{"title", {"High Scores"}},
          {"hiscores", {"MULTIPLICATION - MEDIUM"}},
          {"done_button", {"Done"}}}},
        {"game_over.layout",
         {{"bingo_card", {}},
          {"question", {"10000 / 100 = 100", "100 * 100 = 10000"}},
          {"time", {"GAME OVER"}},
          {"continue_button", {"Continue"}},
          {"prev_button", {"<"}},
          {"next_button", {">"}}}},
    };
    const t_layout_item caption = {"caption", 10, 10,
                                   static_cast<float>(font_strlen(small_font, "GAME OVER")),
                                   static_cast<float>(small_font->height)};
    for (const auto& [file, elements] : files) {
        SCOPED_TRACE(file);
        LayoutPtr layout(layout_load(file));
        ASSERT_NE(layout, nullptr);
        std::vector<t_layout_item> items;
        for (const t_layout_item* item : layout->items)
            if (item) items.push_back(*item);
        EXPECT_EQ(items.size(), elements.size()) << "a stray or repeated item";
        for (const t_element& element : elements) {
            const t_layout_item* item = layout_get_item(layout.get(), element.tag.c_str());
            ASSERT_NE(item, nullptr) << element.tag;
            const bool button = element.tag.find("_button") != std::string::npos;
            const float bevel = button ? item->h / 20 : 0;
            EXPECT_TRUE(item->x >= 0 && item->y >= 0 && item->x + item->w <= GAME_WIDTH &&
                        item->y + item->h <= GAME_HEIGHT &&
                        item->h - 2 * bevel >= large_font->height)
                << element.tag;
            EXPECT_TRUE(!button || (item->w >= 48 && item->h >= 48)) << element.tag;
            for (const std::string& text : element.texts)
                EXPECT_LE(font_strlen(large_font, text.c_str()), item->w - 2 * (4 + bevel)) << text;
            for (const t_layout_item& other : items)
                EXPECT_TRUE(other.tag == element.tag || !overlap(*item, other))
                    << element.tag << " and " << other.tag;
            EXPECT_FALSE(std::string(file) == "game_over.layout" && overlap(caption, *item));
        }
    }
}
