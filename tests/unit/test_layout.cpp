// Layout files read word by word: names, items, limits, and what malformed input does.
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "layout.h"
#include "screen_helpers.h"

namespace {

// Writes `text` to a scratch file and loads it as a layout.
LayoutPtr load_text(const std::string& text) {
    ScratchFolder dir;
    return LayoutPtr(layout_load(dir.write("test.layout", text).c_str()));
}

int count_items(const t_screen_layout* layout) {
    int n = 0;
    for (const t_layout_item* item : layout->items) n += item != nullptr;
    return n;
}

void expect_rect(const t_layout_item* item, float x, float y, float w, float h) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, x);
    EXPECT_EQ(item->y, y);
    EXPECT_EQ(item->w, w);
    EXPECT_EQ(item->h, h);
}

}  // namespace

// A missing file is silent; a pipe, a device or a folder is one "ERROR: " line. None waits.
TEST(Layout, MissingOrOddFileGivesNullAndNullLayoutAnswersNull) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(layout_load("no_such_file.layout"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ScratchFolder dir;
    const Deadline deadline(5);
    for (const std::string& odd : odd_files(dir)) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(layout_load(odd.c_str()), nullptr) << odd;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(odd), std::string::npos) << out;
    }
    EXPECT_EQ(layout_get_item(nullptr, "title"), nullptr);
    layout_free(nullptr);
}

// 1 GiB of zeros is one word, read no further than a valid file could reach, so promptly.
TEST(Layout, EmptyFileOrNameOnlyGivesNoItems) {
    ScratchFolder dir;
    const Deadline deadline(5);
    LayoutPtr huge(layout_load(huge_file(dir, "huge.layout").c_str()));
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(count_items(huge.get()), 0);
    for (const char* text : {"", "   \n\t\n", "menu\n"}) {
        LayoutPtr layout = load_text(text);
        ASSERT_NE(layout, nullptr) << '"' << text << '"';
        EXPECT_EQ(count_items(layout.get()), 0);
        EXPECT_EQ(layout_get_item(layout.get(), "menu"), nullptr);
    }
}

// Words may spread over lines or share one; of two items with one tag the first is found.
TEST(Layout, ReadsNameAndItemsInFileOrderWhereverTheLinesBreak) {
    LayoutPtr layout = load_text(
        "main_menu\ntitle 10 20 300 40\nquit_button -5.5 1e2 +0x30 0.25\nfar -1e5 1e5 0 0\n"
        "\na\n1\n2\t3\n  4 b 5 6 7 8 title 9\n10 11 12");
    EXPECT_STREQ(layout->name, "main_menu");
    EXPECT_EQ(count_items(layout.get()), 6);
    EXPECT_STREQ(layout->items[0]->tag, "title");
    expect_rect(layout_get_item(layout.get(), "title"), 10, 20, 300, 40);
    expect_rect(layout_get_item(layout.get(), "quit_button"), -5.5f, 100, 48, 0.25f);
    expect_rect(layout_get_item(layout.get(), "far"), -1e5f, 1e5f, 0, 0);  // the largest allowed
    expect_rect(layout_get_item(layout.get(), "a"), 1, 2, 3, 4);
    expect_rect(layout_get_item(layout.get(), "b"), 5, 6, 7, 8);
    EXPECT_EQ(layout_get_item(layout.get(), "Title"), nullptr);  // case matters
    EXPECT_EQ(layout_get_item(layout.get(), "titl"), nullptr);   // whole tag only
}

// Every word 31 characters long after 32 blanks, the largest file the reader takes whole:
// still 32 items.
TEST(Layout, ThirtyThreeItemsKeepTheFirstThirtyTwo) {
    auto wide = [](const std::string& word, char fill) {
        return std::string(32, ' ') + std::string(31 - word.size(), fill) + word;
    };
    std::string text = wide("big", '_');
    for (int k = 0; k < 33; k++)
        text += wide("item" + std::to_string(k), '_') + wide(std::to_string(k), '0') +
                wide("1", '0') + wide("2", '0') + wide("3", '0');
    LayoutPtr layout = load_text(text);
    EXPECT_EQ(count_items(layout.get()), 32);
    expect_rect(layout_get_item(layout.get(), wide("item31", '_').c_str() + 32), 31, 1, 2, 3);
    EXPECT_EQ(layout_get_item(layout.get(), wide("item32", '_').c_str() + 32), nullptr);
}

// A tag or name of 31 characters is kept whole; a longer one is cut to 31 and its tail is
// not taken for the next field.
TEST(Layout, OverLongWordsAreCutToThirtyOneCharacters) {
    const std::string a31(31, 'a'), t31(31, 't');
    LayoutPtr layout =
        load_text(std::string(40, 'n') + "\n" + a31 + "TAIL 1 2 3 4\n" + t31 + " 5 6 7 8\n");
    EXPECT_STREQ(layout->name, std::string(31, 'n').c_str());
    EXPECT_EQ(count_items(layout.get()), 2);
    expect_rect(layout_get_item(layout.get(), a31.c_str()), 1, 2, 3, 4);
    expect_rect(layout_get_item(layout.get(), t31.c_str()), 5, 6, 7, 8);
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
        "bad 1 2 3 0000000000000000000000000000000004\n",  // over 31 characters, though small
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
