// Buttons and panels as the player sees them.
#include <gtest/gtest.h>

#include <cstring>

#include "button.h"
#include "hiscore.h"
#include "pixels.h"
#include "player.h"
#include "round_display.h"
#include "screens.h"

// On grey, a button's bevel, h / 20 deep, is as much lighter as darker than its body; a panel's
// frame runs 2 units wide over every edge. Texts are centred clear of them; nothing is outside.
TEST(Button, BevelAndFrameLineTheEdgesAndTextsAreCentred) {
    load_game_fonts();
    for (t_layout_item item : {t_layout_item{"b", 101, 100, 240, 160},
                               {"b", 420, 300, 300, 80},
                               {"p", 200, 101, 301, 200}}) {
        const bool panel = item.tag[0] == 'p';
        t_button button = {"Continue", 0, 0};
        start_frame();
        put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 0.5f, 0.5f, 0.5f, 1);
        panel ? render_panel_text(&item, "27450") : button_render(&button, &item);
        const t_frame f;
        EXPECT_EQ(drawn_outside(f, item, panel), 0);
        const int x = int(item.x), y = int(item.y), w = int(item.w), h = int(item.h), d = h / 20;
        const int body = f.sum(x + d + 1, y + d + 1), band = panel ? 0 : d * (w + h) - 2 * d * d;
        int light = 0, dark = 0;
        for (int j = y - 1; j <= y + h; j++)
            for (int i = x - 1; i <= x + w; i++)
                if (i < x + d || i >= x + w - d || j < y + d || j >= y + h - d) {  // by the edges
                    light += f.sum(i, j) > body + 60;
                    dark += f.sum(i, j) < body - 60 && memcmp(f.at(i, j), f.at(0, 0), 3);
                }
        EXPECT_NEAR(light, band, d) << h;
        EXPECT_NEAR(dark, panel ? 4 * (w + h) : band, panel ? 16 : d) << h;
        expect_text(f, panel ? "27450" : "Continue", item.x + item.w / 2, item.y + item.h / 2,
                    x + d + 2, y + d + 2, w - 2 * d - 4, h - 2 * d - 4);
    }
}

// Drawing turns layout positions into ints: at the farthest coordinates a layout file may
// hold, every widget still draws without overflow (the sanitizer build checks).
TEST(Button, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    load_game_fonts();
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    t_button button = {"MULTIPLICATION", 0, 0};
    t_round round{};
    round_init(&round, MULTIPLICATION, HARD, ROUND_TIME_MS);
    t_bingo_card card{};
    bc_init(&card, &round);
    t_player player{};
    for (t_layout_item item : {t_layout_item{"far", FAR, FAR, FAR, FAR},
                               {"near", -FAR, -FAR, FAR, FAR},
                               {"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}}) {
        button_render(&button, &item);
        render_panel_text(&item, "Seconds Remain (59): 2950");
        render_title(&item);
        player_render_initials(&player, &item);
        player_render_score(&player, &item);
        hiscores_render(MULTIPLICATION, MEDIUM, &item);
        round_time_render(&round, &item);
        round_question_render(&round, &item);
        round_solution_render(&round, &item);
        bc_render(&card, &item);
        bc_score(&card, 1, &item);
        render_round_score(&card, &round, &player, &item);
    }
}
