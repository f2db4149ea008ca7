// The six shipped layout files: the tags their screens look up, on screen, finger-sized and
// apart. (The card's numbers and the round score's lines are read back from the shipped
// layouts in test_round_display.cpp.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "graphics.h"
#include "screen_helpers.h"

// Every item lies on the 800 x 480 screen, each button is at least a fingertip (48 units)
// each way, no item overlaps another (so a tap never lands on two), and the items are exactly
// the tags the screen looks up.
TEST(LayoutFiles, HoldTheirScreensTagsOnScreenFingerSizedAndApart) {
    const std::pair<const char*, const char*> files[] = {
        {"main_menu.layout",
         "title qtype_button skill_level_button start_button hiscore_button quit_button"},
        {"play.layout", "bingo_card question time skip_button quit_button"},
        {"round_score.layout", "bingo_card score continue_button"},
        {"get_initials.layout",
         "title backsp_button enter_button player_initials a_button b_button c_button d_button "
         "e_button f_button g_button h_button i_button j_button k_button l_button m_button "
         "n_button o_button p_button q_button r_button s_button t_button u_button v_button "
         "w_button x_button y_button z_button"},
        {"hiscores.layout", "title hiscores done_button"},
        {"game_over.layout", "bingo_card question time continue_button prev_button next_button"}};
    for (const auto& [file, tags] : files) {
        LayoutPtr layout(layout_load(file));
        ASSERT_NE(layout, nullptr) << file;
        std::istringstream wanted(tags);
        int count = 0;
        for (std::string tag; wanted >> tag; count++)
            EXPECT_NE(layout_get_item(layout.get(), tag.c_str()), nullptr) << file << " " << tag;
        for (int i = 0; i < LAYOUT_MAX_ITEMS; i++) {
            const t_layout_item* a = layout->items[i];
            EXPECT_EQ(a != nullptr, i < count) << file << ": a stray or missing item";
            if (!a) continue;
            const bool button = std::string(a->tag).find("_button") != std::string::npos;
            EXPECT_TRUE(a->x >= 0 && a->y >= 0 && a->x + a->w <= GAME_WIDTH &&
                        a->y + a->h <= GAME_HEIGHT && (!button || (a->w >= 48 && a->h >= 48)))
                << file << " " << a->tag;
            for (int j = 0; j < i; j++) {
                const t_layout_item* b = layout->items[j];
                EXPECT_FALSE(a->x < b->x + b->w && b->x < a->x + a->w && a->y < b->y + b->h &&
                             b->y < a->y + a->h)
                    << file << ": " << a->tag << " over " << b->tag;
            }
        }
    }
}
