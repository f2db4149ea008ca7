// Layout files read word by word: items in order, words cut to fit, and where reading stops.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "datafile.h"
#include "files.h"
#include "layout.h"
#include "screen_helpers.h"

namespace {

// The layout read from `path` as "name: tag x y w h; ...", or "none".
std::string read_layout(const std::string& path) {
    LayoutPtr layout(layout_load(path.c_str()));
    if (!layout) return "none";
    std::ostringstream out;
    out << layout->name << ":";
    for (const t_layout_item* item : layout->items)
        if (item)
            out << ' ' << item->tag << ' ' << item->x << ' ' << item->y << ' ' << item->w << ' '
                << item->h << ';';
    return out.str();
}

}  // namespace

// Words may spread over lines or share one. A tag or name is cut to 31 characters, its tail
// skipped; the first item whose number is missing, not read whole, not finite, beyond
// 100000 units or longer than 31 characters ends the reading, and the 33rd item is not read.
// Nothing is read past the bytes of a valid file's words at their widest.
TEST(Layout, ReadsItemsInOrderCuttingLongWordsAndStoppingAtABadOne) {
    const int longest = LAYOUT_TAG_SIZE - 1;
    const std::string n31(longest, 'n'), t31(longest, 't'), good = "broken\ngood 1 2 3 4\n";
    const std::string blanks(LAYOUT_TAG_SIZE, ' '), zeros(longest - 1, '0');
    ScratchFolder dir;
    std::string most = blanks + n31, most_items = n31 + ":";
    for (int k = 0; k <= LAYOUT_MAX_ITEMS; k++) {  // every word at its longest after blanks
        std::string tag = "item" + std::to_string(k);
        tag.resize(longest, '_');
        for (const std::string& word : {tag, zeros + "1", zeros + "2", zeros + "3", zeros + "4"})
            most += blanks + word;
        if (k < LAYOUT_MAX_ITEMS) most_items += " " + tag + " 1 2 3 4;";
    }
    const size_t most_bytes = (1 + LAYOUT_MAX_ITEMS * 5) * DATAFILE_WORD_BYTES;  // words, widest
    const std::string last = "a 1 2 3 4", to_the_last_byte(most_bytes - 1 - last.size(), ' ');
    const std::pair<std::string, std::string> cases[] = {
        {"", ":"},
        {"menu\n", "menu:"},
        {"main_menu\ntitle 10 20 300 40\nquit -5.5 1e2 +0x30 0.25\nfar -1e5 1e5 0 0\n\na\n1\n2\t3\n"
         "  4 title 5 6 7 8 after",
         "main_menu: title 10 20 300 40; quit -5.5 100 48 0.25; far -100000 100000 0 0; "
         "a 1 2 3 4; title 5 6 7 8;"},
        {std::string(40, 'n') + "\n" + t31 + "TAIL 1 2 3 4 " + t31 + " 5 6 7 8",
         n31 + ": " + t31 + " 1 2 3 4; " + t31 + " 5 6 7 8;"},
        {good + "bad 1 2 3", "broken: good 1 2 3 4;"},
        {most, most_items},
        {"m" + to_the_last_byte + last, "m: a 1 2 3 4;"},
        {"m" + to_the_last_byte + last + "5", "m: a 1 2 3 4;"},
    };
    for (const std::string& bad :
         std::vector<std::string>{"three 4", "3x 4", "nan 4", "inf 4", "3 1e30", "3 -100001",
                                  "3 after", "3 " + zeros + "0004"})
        EXPECT_EQ(read_layout(dir.write("t.layout", good + "bad 1 2 " + bad + " after 5 6 7 8")),
                  "broken: good 1 2 3 4;")
            << bad;
    for (const auto& [text, items] : cases)
        EXPECT_EQ(read_layout(dir.write("t.layout", text)), items) << text.size() << " bytes";
}

// An item is found by its exact tag, the first of two alike; none in no layout.
TEST(Layout, AnItemIsFoundByItsExactTag) {
    ScratchFolder dir;
    LayoutPtr layout(layout_load(dir.write("t.layout", "m a 1 2 3 4 b 5 6 7 8 a 9 9 9 9").c_str()));
    EXPECT_EQ(layout_get_item(layout.get(), "a"), layout->items[0]);
    EXPECT_EQ(layout_get_item(layout.get(), "b"), layout->items[1]);
    for (const char* other : {"A", "", "b "})
        EXPECT_EQ(layout_get_item(layout.get(), other), nullptr) << '"' << other << '"';
    EXPECT_EQ(layout_get_item(nullptr, "a"), nullptr);
}

// A missing file is silent; a pipe, a link to /dev/zero or a folder is one "ERROR: " line
// naming it. 1 GiB of zeros is one word, read no further than a valid file could reach.
TEST(Layout, MissingHugeOrOddFilesLoadPromptly) {
    ScratchFolder dir;
    const std::string huge = huge_file(dir, "huge");
    EXPECT_EQ(printed([&] { EXPECT_EQ(read_layout(dir.file("absent")), "none"); }), "");
    EXPECT_EQ(printed([&] { EXPECT_EQ(read_layout(huge), ":"); }), "") << "one word, no name";
    for (const std::string& odd : odd_files(dir))
        EXPECT_TRUE(one_error(printed([&] { EXPECT_EQ(read_layout(odd), "none"); }), odd));
}
