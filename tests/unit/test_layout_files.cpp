// The six shipped layout files: every tag their screen looks up, and rectangles a finger can use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout.h"

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
