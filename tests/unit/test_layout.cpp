// Layout files read word by word: items in order, words cut to fit, and where reading stops.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

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
TEST(Layout, ReadsItemsInOrderCuttingLongWordsAndStoppingAtABadOne) {
    const std::string n31(31, 'n'), t31(31, 't'), good = "broken\ngood 1 2 3 4\n";
    ScratchFolder dir;
    const std::string pad(32, ' '), zeros(30, '0');
    std::string most = pad + n31, most_items = n31 + ":";
    for (int k = 0; k < 33; k++) {  // every word 31 characters after 32 blanks: the longest file
        std::string tag = "item" + std::to_string(k);
        tag.resize(31, '_');
        for (const std::string& word : {tag, zeros + "1", zeros + "2", zeros + "3", zeros + "4"})
            most += pad + word;
        if (k < 32) most_items += " " + tag + " 1 2 3 4;";
    }
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
        // Read to the last of its 10304 bytes, and no further.
        {"m" + std::string(10294, ' ') + "a 1 2 3 4", "m: a 1 2 3 4;"},
        {"m" + std::string(10294, ' ') + "a 1 2 3 45", "m: a 1 2 3 4;"},
    };
    for (const char* bad : {"three 4", "3x 4", "nan 4", "inf 4", "3 1e30", "3 -100001", "3 after",
                            "3 0000000000000000000000000000000004"})
        EXPECT_EQ(read_layout(dir.write("t.layout", good + "bad 1 2 " + bad + " after 5 6 7 8")),
                  "broken: good 1 2 3 4;");
    for (const auto& [text, items] : cases)
        EXPECT_EQ(read_layout(dir.write("t.layout", text)), items);

    LayoutPtr layout(layout_load(dir.write("t.layout", "m a 1 2 3 4 b 5 6 7 8 a 9 9 9 9").c_str()));
    EXPECT_EQ(layout_get_item(layout.get(), "a"), layout->items[0]);  // the first of a tag
    EXPECT_EQ(layout_get_item(layout.get(), "b"), layout->items[1]);
    for (const char* other : {"A", "", "b "})
        EXPECT_EQ(layout_get_item(layout.get(), other), nullptr);
    EXPECT_EQ(layout_get_item(nullptr, "a"), nullptr);
}

// A missing file is silent; a pipe, a link to /dev/zero or a folder is one "ERROR: " line
// naming it. 1 GiB of zeros is one word, read no further than a valid file could reach.
TEST(Layout, MissingHugeOrOddFilesLoadPromptly) {
    ScratchFolder dir;
    const std::string huge = huge_file(dir, "huge");
    EXPECT_EQ(
        printed([&] { EXPECT_EQ(read_layout(dir.file("absent")) + read_layout(huge), "none:"); }),
        "");
    for (const std::string& odd : odd_files(dir))
        EXPECT_TRUE(one_error(printed([&] { EXPECT_EQ(read_layout(odd), "none"); }), odd));
}
