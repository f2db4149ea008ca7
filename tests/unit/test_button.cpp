// Buttons and panels: the click test, the bevel and frame, centred text, and every widget at
// the edges of what a layout can give it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "button.h"
#include "hiscore.h"
#include "pixels.h"
#include "round_display.h"
#include "screens.h"

namespace {

using ButtonPtr = std::unique_ptr<t_button>;

// Draws every widget of the game into `item`, which may be null.
void draw_every_widget(t_layout_item* item) {
    load_game_fonts();
    start_frame();
    ButtonPtr button(button_new("MULTIPLICATION"));
    t_round round{};
    t_bingo_card card{};
    t_player player{};
    button_render(button.get(), item);
    render_panel_text(item, "Seconds Remain (59): 2950");
    render_title(item);
    player_render_initials(&player, item);
    player_render_score(&player, item);
    hiscores_render(MULTIPLICATION, MEDIUM, item);
    round_time_render(&round, item);
    round_question_render(&round, item);
    round_solution_render(&round, item);
    bc_render(&card, item);
    bc_score(&card, 1, item);
    render_round_score(&card, &round, &player, item);
}

}  // namespace

// A tap counts strictly inside the rectangle (every edge and corner is outside), or anywhere
// for a selected button, and leaves the button pressed; labels are cut to 31 characters.
TEST(ButtonRecord, ClicksStrictlyInsideOrAnywhereWhenSelected) {
    ButtonPtr button(button_new((std::string(31, 'a') + "bcdef").c_str()));
    EXPECT_EQ(button->label, std::string(31, 'a'));
    button_set_label(button.get(), (std::string(31, 'z') + "!").c_str());
    EXPECT_EQ(button->label, std::string(31, 'z'));
    t_layout_item item = {"skip_button", 100, 200, 50, 60};
    const float taps[][3] = {{100, 230, 0}, {150, 230, 0}, {125, 200, 0}, {125, 260, 0},
                             {100, 200, 0}, {150, 260, 0}, {101, 201, 1}, {149, 259, 1}};
    for (const auto& tap : taps) {
        button->pressed = 0;
        EXPECT_EQ(button_is_clicked(button.get(), &item, tap[0], tap[1]), tap[2]);
        EXPECT_EQ(button->pressed, tap[2]) << tap[0] << ", " << tap[1];
    }
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 125, 230), 0);
    button->selected = 1;
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 500, 500), 1);
}

// A button's bevel, h / 20 deep, is lighter than its body above and left, darker below and
// right, equal in area; a panel's darker frame runs 2 units wide along every edge, which it
// straddles; neither draws anything further out.
TEST(Button, BevelAndFrameLineTheEdges) {
    for (t_layout_item item : {t_layout_item{"b", 100, 100, 240, 160},
                               {"b", 420, 300, 300, 80},
                               {"p", 200, 100, 300, 200}}) {
        const bool panel = item.tag[0] == 'p';
        ButtonPtr button(button_new(""));
        start_frame();  // on grey, where the shadow shows
        put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 0.5f, 0.5f, 0.5f, 1);
        panel ? render_panel(&item) : button_render(button.get(), &item);
        const t_frame f;
        EXPECT_EQ(drawn_outside(f, item, panel), 0);
        const int x = int(item.x), y = int(item.y), w = int(item.w), h = int(item.h), d = h / 20;
        const int body = f.sum(x + w / 2, y + h / 2), band = panel ? 0 : d * (w + h) - 2 * d * d;
        int light = 0, dark = 0;
        for (int j = y - 1; j <= y + h; j++) {
            for (int i = x - 1; i <= x + w; i++) {
                light += f.sum(i, j) > body + 60;
                dark += f.sum(i, j) < body - 60 && memcmp(f.at(i, j), f.at(0, 0), 3);
            }
        }
        EXPECT_NEAR(light, band, d) << h;
        EXPECT_NEAR(dark, panel ? 4 * (w + h) : band, panel ? 16 : d) << h;
        EXPECT_TRUE(panel ||
                    (f.sum(x + w / 2, y + d / 2) > body && f.sum(x + 1, y + h / 2) > body &&
                     f.sum(x + w / 2, y + h - 1 - d / 2) < body));
    }
}

// Labels and panel texts are centred in their rectangles, clear of the bevel or frame.
TEST(Button, LabelsAndPanelTextsAreCentred) {
    load_game_fonts();
    start_frame();
    t_layout_item item = {"b", 123, 211, 301, 77};
    ButtonPtr button(button_new("Continue"));
    button_render(button.get(), &item);
    expect_text(t_frame(), "Continue", 273.5f, 249.5f, 128, 216, 291, 67);
    start_frame();
    item = {"p", 400, 320, 240, 80};
    render_panel_text(&item, "27450");
    expect_text(t_frame(), "27450", 520, 360, 402, 322, 236, 76);
}

TEST(Button, EveryWidgetGivenNoRectangleDrawsNothing) {
    draw_every_widget(nullptr);
    EXPECT_EQ(drawn_outside(t_frame(), {"none", 0, 0, 0, 0}, 0), 0);
}

// Drawing turns layout positions into ints: at the farthest coordinates a layout file may
// hold, every widget still draws without overflow (the sanitizer build checks).
TEST(Button, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    for (t_layout_item item : {t_layout_item{"far", FAR, FAR, FAR, FAR},
                               {"near", -FAR, -FAR, FAR, FAR},
                               {"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}})
        draw_every_widget(&item);
}
