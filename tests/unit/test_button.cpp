// Buttons and panels: the record, the click test, the bevel and panel colours, centred text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "hiscore.h"
#include "main.h"
#include "pixels.h"
#include "player.h"
#include "round.h"
#include "round_display.h"

namespace {

using ButtonPtr = std::unique_ptr<t_button>;

const t_rgb LIGHT = blend(WHITE, 0.7f, BUTTON_YELLOW);
const t_rgb DARK = blend(BLACK, 0.7f, BUTTON_YELLOW);

class Button : public ::testing::Test {
   protected:
    void SetUp() override { start_frame(); }
};

}  // namespace

TEST(ButtonRecord, NewButtonCopiesItsLabelAndStartsIdle) {
    char label[] = "Start";
    ButtonPtr button(button_new(label));
    label[0] = 'X';
    EXPECT_STREQ(button->label, "Start");
    EXPECT_EQ(button->selected, 0);
    EXPECT_EQ(button->pressed, 0);
    button_set_label(button.get(), "MULTIPLICATION");
    EXPECT_STREQ(button->label, "MULTIPLICATION");
}

TEST(ButtonRecord, OverLongLabelsAreCutToThirtyOneCharacters) {
    const std::string longer = std::string(31, 'a') + "bcdef";
    ButtonPtr button(button_new(longer.c_str()));
    EXPECT_STREQ(button->label, std::string(31, 'a').c_str());
    button_set_label(button.get(), (std::string(31, 'z') + "!").c_str());
    EXPECT_STREQ(button->label, std::string(31, 'z').c_str());
}

// A button at x 100, w 50 takes taps 101 to 149; every edge and corner is outside.
TEST(ButtonRecord, ClickTestIsStrictOnEveryEdge) {
    ButtonPtr button(button_new("Skip"));
    t_layout_item item = {"skip_button", 100, 200, 50, 60};
    for (float x : {100.0f, 150.0f, 99.0f, 151.0f})
        EXPECT_EQ(button_is_clicked(button.get(), &item, x, 230), 0) << x;
    for (float y : {200.0f, 260.0f})
        EXPECT_EQ(button_is_clicked(button.get(), &item, 125, y), 0) << y;
    EXPECT_EQ(button_is_clicked(button.get(), &item, 100, 200), 0);
    EXPECT_EQ(button_is_clicked(button.get(), &item, 150, 260), 0);
    EXPECT_EQ(button->pressed, 0);
    for (auto [x, y] : {std::pair{101.0f, 201.0f}, {149.0f, 259.0f}, {125.0f, 230.0f}})
        EXPECT_EQ(button_is_clicked(button.get(), &item, x, y), 1) << x << ", " << y;
}

TEST(ButtonRecord, PressedStaysSetAndSelectedClicksAnywhere) {
    ButtonPtr button(button_new("Quit"));
    t_layout_item item = {"quit_button", 0, 0, 10, 10};
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 5, 5), 0);
    EXPECT_EQ(button_is_clicked(button.get(), &item, 5, 5), 1);
    EXPECT_EQ(button->pressed, 1);
    EXPECT_EQ(button_is_clicked(button.get(), &item, 500, 500), 0);
    EXPECT_EQ(button->pressed, 1);

    ButtonPtr chosen(button_new("Start"));
    chosen->selected = 1;
    EXPECT_EQ(button_is_clicked(chosen.get(), &item, 500, 500), 1);
    EXPECT_EQ(button_is_clicked(chosen.get(), nullptr, 500, 500), 1);
    EXPECT_EQ(chosen->pressed, 1);
}

// At h 80 the bevel is 4 units: light top and left, dark bottom and right, and the
// top-right and bottom-left corners split along their diagonals.
TEST_F(Button, BodyAndBevelColours) {
    ButtonPtr button(button_new(""));
    t_layout_item item = {"b", 100, 100, 200, 80};
    button_render(button.get(), &item);
    expect_pixel(150, 130, BUTTON_YELLOW);
    expect_pixel(200, 101, LIGHT);          // top band
    expect_pixel(101, 140, LIGHT);          // left band
    expect_pixel(101, 101, LIGHT);          // top-left corner square, lit once
    expect_pixel(200, 178, DARK);           // bottom band
    expect_pixel(298, 140, DARK);           // right band
    expect_pixel(298, 178, DARK);           // bottom-right corner square
    expect_pixel(297, 101, LIGHT);          // top-right corner, upper-left half
    expect_pixel(299, 103, DARK);           //   and lower-right half
    expect_pixel(101, 177, LIGHT);          // bottom-left corner, upper-left half
    expect_pixel(103, 179, DARK);           //   and lower-right half
    expect_pixel(105, 105, BUTTON_YELLOW);  // just inside the bevel
    expect_pixel(99, 140, BLACK);
    expect_pixel(300, 140, BLACK);
    expect_pixel(200, 180, BLACK);
}

// At h 40 the bevel is 2 units and the top band starts 2 units in, w - 4 long.
TEST_F(Button, ThinBevelOnALowButton) {
    ButtonPtr button(button_new(""));
    t_layout_item item = {"b", 300, 300, 100, 40};
    button_render(button.get(), &item);
    expect_pixel(350, 301, LIGHT);
    expect_pixel(350, 302, BUTTON_YELLOW);
    expect_pixel(350, 338, DARK);
    expect_pixel(350, 337, BUTTON_YELLOW);
    expect_pixel(301, 320, LIGHT);
    expect_pixel(302, 320, BUTTON_YELLOW);
    expect_pixel(398, 320, DARK);
    expect_pixel(397, 320, BUTTON_YELLOW);
}

TEST_F(Button, NullRectangleDrawsNothing) {
    ButtonPtr button(button_new("Start"));
    button_render(button.get(), nullptr);
    render_panel(nullptr);
    render_panel_text(nullptr, "text");
    for (int x = 0; x < 800; x += 40)
        for (int y = 0; y < 480; y += 40) expect_pixel(x, y, BLACK, 0);
}

TEST_F(Button, PanelIsPaleBlueWithADarkBlueFrame) {
    t_layout_item item = {"p", 200, 100, 300, 200};
    render_panel(&item);
    expect_pixel(350, 200, PANEL_BLUE);
    expect_pixel(205, 105, PANEL_BLUE);
    // A two-unit frame on each edge line.
    auto frame_near = [](int x, int y, bool vertical) {
        int hits = 0;
        for (int k = -1; k <= 1; k++) {
            const auto p = vertical ? pixel_at(x + k, y) : pixel_at(x, y + k);
            hits += p[0] == 0 && p[1] == 0 && std::abs(p[2] - FRAME_BLUE.b) <= 2;
        }
        return hits;
    };
    EXPECT_EQ(frame_near(350, 100, false), 2);
    EXPECT_EQ(frame_near(350, 300, false), 2);
    EXPECT_EQ(frame_near(200, 200, true), 2);
    EXPECT_EQ(frame_near(500, 200, true), 2);
}

namespace {

struct t_box {
    int left = 10000, top = 10000, right = -1, bottom = -1;  // inclusive; right < 0 when empty
};

// The box around every pixel inside `item` (less a margin for the frame or bevel) that is
// not `background`: the ink of the text drawn there.
t_box ink_box(const t_layout_item& item, t_rgb background, int margin) {
    t_box box;
    for (int y = static_cast<int>(item.y) + margin; y < item.y + item.h - margin; y++) {
        for (int x = static_cast<int>(item.x) + margin; x < item.x + item.w - margin; x++) {
            const auto p = pixel_at(x, y);
            if (std::abs(p[0] - background.r) + std::abs(p[1] - background.g) +
                    std::abs(p[2] - background.b) <=
                6)
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    }
    return box;
}

// Text drawn with the real large font; the text's top is at the item's middle less half
// the font's height.
class CentredText : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        load_game_fonts();
    }
    void expect_centred(const t_box& box, const t_layout_item& item, const char* text) {
        ASSERT_GE(box.right, 0) << "no ink for " << text;
        const double centre = (box.left + box.right + 1) / 2.0;
        EXPECT_NEAR(centre, item.x + item.w / 2, 1.0) << text;
        EXPECT_NEAR(box.right + 1 - box.left, font_strlen(large_font, text), 2) << text;
        const int top = static_cast<int>(item.y + item.h / 2.0 - large_font->height / 2.0);
        EXPECT_GE(box.top, top) << text;
        EXPECT_LT(box.bottom, top + large_font->height) << text;
    }
};

}  // namespace

TEST_F(CentredText, TitleCentresOnItsItem) {
    t_layout_item item = {"title", 300, 100, 200, 80};
    render_get_initials_title(&item);
    expect_centred(ink_box(item, PANEL_BLUE, 2), item, "High Score!");  // on x 400
}

TEST_F(CentredText, ButtonLabelCentresOnItsButton) {
    t_layout_item item = {"b", 123, 211, 301, 77};
    ButtonPtr button(button_new("Continue"));
    button_render(button.get(), &item);
    expect_centred(ink_box(item, BUTTON_YELLOW, 5), item, "Continue");
}

TEST_F(CentredText, PlayerPanelsShowInitialsAndScore) {
    t_player player{};
    player.score = 27450;
    memcpy(player.initials, "ABC", 4);
    t_layout_item initials = {"player_initials", 100, 50, 240, 80};
    t_layout_item score = {"score", 400, 50, 240, 80};
    player_render_initials(&player, &initials);
    player_render_score(&player, &score);
    expect_centred(ink_box(initials, PANEL_BLUE, 2), initials, "ABC");
    expect_centred(ink_box(score, PANEL_BLUE, 2), score, "27450");
}

// Drawing turns layout positions into ints: at the farthest coordinates a layout file may
// hold, every widget still draws without overflow (the sanitizer build checks).
TEST_F(Button, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    load_game_fonts();
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    ButtonPtr button(button_new("MULTIPLICATION"));
    t_round round{};
    round_init(&round, MULTIPLICATION, HARD, 60000);
    t_bingo_card card{};
    bc_init(&card, &round);
    for (t_layout_item item :
         {t_layout_item{"far", FAR, FAR, FAR, FAR}, t_layout_item{"near", -FAR, -FAR, FAR, FAR},
          t_layout_item{"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}}) {
        button_render(button.get(), &item);
        render_panel_text(&item, "Seconds Remain (59): 2950");
        hiscores_render(MULTIPLICATION, MEDIUM, &item);
        round_time_render(&round, &item);
        round_question_render(&round, &item);
        round_solution_render(&round, &item);
        bc_render(&card, &item);
        EXPECT_EQ(bc_score(&card, 1, &item), 0);
    }
}
