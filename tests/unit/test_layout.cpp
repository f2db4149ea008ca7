// Layout files read word by word: names, items, limits, and what malformed input does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "layout.h"

namespace {

struct LayoutDeleter {
    void operator()(t_screen_layout* layout) const { layout_free(layout); }
};
using LayoutPtr = std::unique_ptr<t_screen_layout, LayoutDeleter>;

// Writes `text` to a file in the test's temporary folder and loads it as a layout.
LayoutPtr load_text(const std::string& text) {
    // One file per process: the test runner may run several tests at once.
    const std::string path =
        ::testing::TempDir() + "quorvel_test_" + std::to_string(getpid()) + ".layout";
    FILE* file = fopen(path.c_str(), "w");
    EXPECT_NE(file, nullptr);
    fputs(text.c_str(), file);
    fclose(file);
    LayoutPtr layout(layout_load(path.c_str()));
    remove(path.c_str());
    return layout;
}

int count_items(const t_screen_layout* layout) {
    int n = 0;
    for (const t_layout_item* item : layout->items) n += item != nullptr;
    return n;
}

std::string item_line(int k) {
    return "item" + std::to_string(k) + " " + std::to_string(k) + " 1 2 3\n";
}

void expect_rect(const t_layout_item* item, float x, float y, float w, float h) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, x);
    EXPECT_EQ(item->y, y);
    EXPECT_EQ(item->w, w);
    EXPECT_EQ(item->h, h);
}

}  // namespace

TEST(Layout, MissingFileGivesNullAndNullLayoutAnswersNull) {
    EXPECT_EQ(layout_load("no_such_file.layout"), nullptr);
    EXPECT_EQ(layout_get_item(nullptr, "title"), nullptr);
    layout_free(nullptr);
}

TEST(Layout, NewLayoutIsEmpty) {
    LayoutPtr layout(layout_new());
    EXPECT_EQ(count_items(layout.get()), 0);
    EXPECT_EQ(layout_get_item(layout.get(), ""), nullptr);
}

TEST(Layout, EmptyFileOrNameOnlyGivesNoItems) {
    for (const char* text : {"", "   \n\t\n", "menu\n"}) {
        LayoutPtr layout = load_text(text);
        ASSERT_NE(layout, nullptr) << '"' << text << '"';
        EXPECT_EQ(count_items(layout.get()), 0);
        EXPECT_EQ(layout_get_item(layout.get(), "menu"), nullptr);
    }
}

TEST(Layout, ReadsNameAndItemsInFileOrder) {
    LayoutPtr layout = load_text(
        "main_menu\ntitle 10 20 300 40\nquit_button -5.5 1e2 +48 0.25\nfar -1e5 1e5 0 0\n");
    EXPECT_STREQ(layout->name, "main_menu");
    EXPECT_EQ(count_items(layout.get()), 3);
    EXPECT_STREQ(layout->items[0]->tag, "title");
    expect_rect(layout_get_item(layout.get(), "title"), 10, 20, 300, 40);
    expect_rect(layout_get_item(layout.get(), "quit_button"), -5.5f, 100, 48, 0.25f);
    expect_rect(layout_get_item(layout.get(), "far"), -1e5f, 1e5f, 0, 0);  // the largest allowed
    EXPECT_EQ(layout_get_item(layout.get(), "Title"), nullptr);            // case matters
    EXPECT_EQ(layout_get_item(layout.get(), "titl"), nullptr);             // whole tag only
}

TEST(Layout, WordsMaySpreadOverLinesOrShareOne) {
    LayoutPtr spread = load_text("name\n\na\n1\n2\t3\n  4 b 5 6 7 8 c 9\n10 11 12");
    EXPECT_EQ(count_items(spread.get()), 3);
    expect_rect(layout_get_item(spread.get(), "a"), 1, 2, 3, 4);
    expect_rect(layout_get_item(spread.get(), "b"), 5, 6, 7, 8);
    expect_rect(layout_get_item(spread.get(), "c"), 9, 10, 11, 12);
}

TEST(Layout, ThirtyThreeItemsKeepTheFirstThirtyTwo) {
    std::string text = "big\n";
    for (int k = 0; k < 33; k++) text += item_line(k);
    LayoutPtr layout = load_text(text);
    EXPECT_EQ(count_items(layout.get()), 32);
    expect_rect(layout_get_item(layout.get(), "item31"), 31, 1, 2, 3);
    EXPECT_EQ(layout_get_item(layout.get(), "item32"), nullptr);
}

TEST(Layout, DuplicateTagsGiveTheFirst) {
    LayoutPtr layout = load_text("dup\nbutton 1 1 1 1\nother 0 0 0 0\nbutton 2 2 2 2\n");
    EXPECT_EQ(count_items(layout.get()), 3);
    expect_rect(layout_get_item(layout.get(), "button"), 1, 1, 1, 1);
}

TEST(Layout, ThirtyOneCharacterWordsAreStoredWhole) {
    const std::string tag31(31, 't'), name31(31, 'n');
    LayoutPtr layout = load_text(name31 + "\n" + tag31 + " 1 2 3 4\n");
    EXPECT_STREQ(layout->name, name31.c_str());
    expect_rect(layout_get_item(layout.get(), tag31.c_str()), 1, 2, 3, 4);
}

// A tag or name past 31 characters is cut; its tail is not taken for the next field.
TEST(Layout, OverLongWordsAreCutToThirtyOneCharacters) {
    const std::string name(40, 'n'), tag = std::string(31, 'a') + "TAIL";
    LayoutPtr layout = load_text(name + "\n" + tag + " 1 2 3 4\nnext 5 6 7 8\n");
    EXPECT_STREQ(layout->name, std::string(31, 'n').c_str());
    EXPECT_EQ(count_items(layout.get()), 2);
    expect_rect(layout_get_item(layout.get(), std::string(31, 'a').c_str()), 1, 2, 3, 4);
    expect_rect(layout_get_item(layout.get(), "next"), 5, 6, 7, 8);
}

TEST(Layout, MalformedOrMissingNumberEndsReadingKeepingEarlierItems) {
    const char* bad_items[] = {
        "bad 1 2 three 4\n",                               // not a number
        "bad 1 2 3x 4\n",                                  // trailing rubbish
        "bad 1 2 nan 4\n",                                 // not finite
        "bad 1 2 inf 4\n",                                 // not finite
        "bad 1e30 2 3 4\n",                                // would overflow an int when drawn
        "bad 1 -100001 3 4\n",                             // beyond the largest coordinate
        "bad 1 2 3\n",                                     // the file ends inside the item
        "bad 1 2 3 1234567890123456789012345678901234\n",  // too long to be read whole
    };
    for (const char* bad : bad_items) {
        LayoutPtr layout =
            load_text(std::string("broken\ngood 1 2 3 4\n") + bad + "after 5 6 7 8\n");
        EXPECT_EQ(count_items(layout.get()), 1) << bad;
        expect_rect(layout_get_item(layout.get(), "good"), 1, 2, 3, 4);
        EXPECT_EQ(layout_get_item(layout.get(), "bad"), nullptr) << bad;
        EXPECT_EQ(layout_get_item(layout.get(), "after"), nullptr) << bad;
    }
}

TEST(Layout, SaveWritesNothing) {
    LayoutPtr layout = load_text("n\na 1 2 3 4\n");
    const std::string path =
        ::testing::TempDir() + "quorvel_saved_" + std::to_string(getpid()) + ".layout";
    remove(path.c_str());
    layout_save(layout.get(), path.c_str());
    EXPECT_EQ(fopen(path.c_str(), "r"), nullptr);
    expect_rect(layout_get_item(layout.get(), "a"), 1, 2, 3, 4);
}
