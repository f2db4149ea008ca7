// Buttons and panels: the click test, the bevel and panel colours, centred text, and every
// widget at the edges of what a layout can give it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "hiscore.h"
#include "pixels.h"
#include "player.h"
#include "round.h"
#include "round_display.h"
#include "screens.h"

namespace {

using ButtonPtr = std::unique_ptr<t_button>;

const t_rgb LIGHT = blend(WHITE, 0.7f, BUTTON_YELLOW);
const t_rgb DARK = blend(BLACK, 0.7f, BUTTON_YELLOW);

class Button : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        load_game_fonts();
    }
};

// Draws every widget of the game into `item` (which may be null), with its longest text.
void draw_every_widget(t_layout_item* item) {
    ButtonPtr button(button_new("MULTIPLICATION"));
    t_round round{};
    round_init(&round, MULTIPLICATION, HARD, 60000);
    t_bingo_card card{};
    bc_init(&card, &round);
    for (auto& row : card.squares)
        for (auto& square : row) square.marked = 1;
    t_player player{};
    button_render(button.get(), item);
    render_panel(item);
    render_panel_text(item, "Seconds Remain (59): 2950");
    render_title(item);
    player_render_initials(&player, item);
    player_render_score(&player, item);
    hiscores_render(MULTIPLICATION, MEDIUM, item);
    round_time_render(&round, item);
    round_question_render(&round, item);
    round_solution_render(&round, item);
    bc_render(&card, item);
    EXPECT_EQ(bc_score(&card, 1, item), 22000);
    render_round_score(&card, &round, &player, item);
}

}  // namespace

TEST(ButtonRecord, OverLongLabelsAreCutToThirtyOneCharacters) {
    ButtonPtr button(button_new((std::string(31, 'a') + "bcdef").c_str()));
    EXPECT_STREQ(button->label, std::string(31, 'a').c_str());
    button_set_label(button.get(), (std::string(31, 'z') + "!").c_str());
    EXPECT_STREQ(button->label, std::string(31, 'z').c_str());
}

// A button at x 100, w 50 takes taps 101 to 149; every edge and corner is outside.
TEST(ButtonRecord, ClickTestIsStrictOnEveryEdge) {
    ButtonPtr button(button_new("Skip"));
    t_layout_item item = {"skip_button", 100, 200, 50, 60};
    const struct {
        float x, y;
        int hit;
    } taps[] = {{100, 230, 0}, {150, 230, 0}, {125, 200, 0}, {125, 260, 0},
                {100, 200, 0}, {150, 260, 0}, {101, 201, 1}, {149, 259, 1}};
    for (const auto& tap : taps)
        EXPECT_EQ(button_is_clicked(button.get(), &item, tap.x, tap.y), tap.hit)
            << tap.x << ", " << tap.y;
}

TEST(ButtonRecord, PressedStaysSetAndSelectedClicksAnywhere) {
    ButtonPtr button(button_new("Quit"));
    t_layout_item item = {"quit_button", 0, 0, 10, 10};
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 5, 5), 0);
    EXPECT_EQ(button->pressed, 0);
    EXPECT_EQ(button_is_clicked(button.get(), &item, 5, 5), 1);
    EXPECT_EQ(button_is_clicked(button.get(), &item, 500, 500), 0);
    EXPECT_EQ(button->pressed, 1);

    ButtonPtr chosen(button_new("Start"));
    chosen->selected = 1;
    EXPECT_EQ(button_is_clicked(chosen.get(), nullptr, 500, 500), 1);
    EXPECT_EQ(chosen->pressed, 1);
}

// The bevel is h / 20 deep (4 units at h 80, 2 at h 40): light top and left bands, dark
// bottom and right, and the top-right and bottom-left corners split along their diagonals.
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
    expect_pixel(300, 140, BLACK);          // nothing beyond the right edge

    t_layout_item low = {"b", 300, 300, 100, 40};
    button_render(button.get(), &low);
    for (auto [x, y, colour] : {std::tuple{350, 301, LIGHT},
                                {350, 302, BUTTON_YELLOW},
                                {350, 338, DARK},
                                {350, 337, BUTTON_YELLOW},
                                {301, 320, LIGHT},
                                {302, 320, BUTTON_YELLOW},
                                {398, 320, DARK}})
        expect_pixel(x, y, colour);
}

TEST_F(Button, PanelIsPaleBlueWithATwoUnitDarkBlueFrame) {
    t_layout_item item = {"p", 200, 100, 300, 200};
    render_panel(&item);
    expect_pixel(350, 200, PANEL_BLUE);
    expect_pixel(205, 105, PANEL_BLUE);
    // Two of the three pixels across each edge line are the frame.
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

// The ink of the large-font text drawn in `item` on `background` (leaving a margin for the
// frame or bevel) is centred across the item, as wide as the font measures the text, and
// within the line that starts at the item's middle less half the font's height.
void expect_centred(const t_layout_item& item, t_rgb background, int margin, const char* text) {
    int left = 10000, top = 10000, right = -1, bottom = -1;
    for (int y = static_cast<int>(item.y) + margin; y < item.y + item.h - margin; y++) {
        for (int x = static_cast<int>(item.x) + margin; x < item.x + item.w - margin; x++) {
            const auto p = pixel_at(x, y);
            if (std::abs(p[0] - background.r) + std::abs(p[1] - background.g) +
                    std::abs(p[2] - background.b) >
                6) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, 0) << "no ink for " << text;
    EXPECT_NEAR((left + right + 1) / 2.0, item.x + item.w / 2, 1.0) << text;
    EXPECT_NEAR(right + 1 - left, font_strlen(large_font, text), 2) << text;
    const int line_top = static_cast<int>(item.y + item.h / 2.0 - large_font->height / 2.0);
    EXPECT_GE(top, line_top) << text;
    EXPECT_LT(bottom, line_top + large_font->height) << text;
}

}  // namespace

TEST_F(Button, TitleLabelAndPlayerScoreCentreTheirTexts) {
    t_layout_item title = {"title", 300, 100, 200, 80};
    render_get_initials_title(&title);
    expect_centred(title, PANEL_BLUE, 2, "High Score!");  // on x 400

    t_layout_item item = {"b", 123, 211, 301, 77};
    ButtonPtr button(button_new("Continue"));
    button_render(button.get(), &item);
    expect_centred(item, BUTTON_YELLOW, 5, "Continue");

    t_player player = {27450, 0, "ABC"};
    t_layout_item score = {"score", 400, 320, 240, 80};
    player_render_score(&player, &score);
    expect_centred(score, PANEL_BLUE, 2, "27450");
}

TEST_F(Button, EveryWidgetGivenNoRectangleDrawsNothing) {
    draw_every_widget(nullptr);
    for (int x = 0; x < 800; x += 40)
        for (int y = 0; y < 480; y += 40) expect_pixel(x, y, BLACK, 0);
}

// Drawing turns layout positions into ints: at the farthest coordinates a layout file may
// hold, every widget still draws without overflow (the sanitizer build checks).
TEST_F(Button, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    for (t_layout_item item :
         {t_layout_item{"far", FAR, FAR, FAR, FAR}, t_layout_item{"near", -FAR, -FAR, FAR, FAR},
          t_layout_item{"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}})
        draw_every_widget(&item);
}
