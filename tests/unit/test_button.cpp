// Buttons and panels: the click test, the bevel and frame, centred text, and every widget at
// the edges of what a layout can give it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "button.h"
#include "hiscore.h"
#include "pixels.h"
#include "round_display.h"
#include "screens.h"

// A tap counts strictly inside the rectangle (every edge and corner is outside), or anywhere
// for a selected button, and leaves the button pressed; labels are cut to 31 characters.
TEST(ButtonRecord, ClicksStrictlyInsideOrAnywhereWhenSelected) {
    std::unique_ptr<t_button> button(button_new((std::string(31, 'a') + "bc").c_str()));
    EXPECT_EQ(button->label, std::string(31, 'a'));
    button_set_label(button.get(), (std::string(31, 'z') + "!").c_str());
    EXPECT_EQ(button->label, std::string(31, 'z'));
    t_layout_item item = {"skip_button", 100, 200, 50, 60};
    for (const auto& [x, y, in] : {std::array{100, 230, 0},
                                   {150, 230, 0},
                                   {125, 200, 0},
                                   {125, 260, 0},
                                   {101, 201, 1},
                                   {149, 259, 1}}) {
        button->pressed = 0;
        EXPECT_TRUE(button_is_clicked(button.get(), &item, x, y) == in && button->pressed == in);
    }
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 125, 230), 0);
    button->selected = 1;
    EXPECT_EQ(button_is_clicked(button.get(), nullptr, 500, 500), 1);
}

// On grey: a button's bevel, h / 20 deep, is lighter than its body above and left, darker
// below and right, equal in area, its label centred clear of it; a panel's darker frame runs
// 2 units wide along every edge, which it straddles, its text centred. Nothing further out.
TEST(Button, BevelFrameAndCentredText) {
    load_game_fonts();
    for (t_layout_item item : {t_layout_item{"b", 101, 100, 240, 160},
                               {"b", 420, 300, 300, 80},
                               {"p", 200, 101, 301, 200}}) {
        const bool panel = item.tag[0] == 'p';
        std::unique_ptr<t_button> button(button_new(""));
        start_frame();
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
        button_set_label(button.get(), "Continue");
        panel ? render_panel_text(&item, "27450") : button_render(button.get(), &item);
        expect_text(t_frame(), panel ? "27450" : "Continue", item.x + item.w / 2,
                    item.y + item.h / 2, x + d + 2, y + d + 2, w - 2 * d - 4, h - 2 * d - 4);
    }
}

// Every widget of the game drawn with no rectangle draws nothing; at the farthest coordinates
// a layout file may hold, each still draws without overflow (the sanitizer build checks).
TEST(Button, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    t_layout_item items[] = {{"far", FAR, FAR, FAR, FAR},
                             {"near", -FAR, -FAR, FAR, FAR},
                             {"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}};
    for (t_layout_item* item :
         {static_cast<t_layout_item*>(nullptr), items, items + 1, items + 2}) {
        load_game_fonts();
        start_frame();
        std::unique_ptr<t_button> button(button_new("MULTIPLICATION"));
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
        EXPECT_TRUE(item || !drawn_outside(t_frame(), {"none", 0, 0, 0, 0}, 0));
    }
}
