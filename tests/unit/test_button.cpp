// Buttons, panels and every other widget at the edges of what a layout may hold.
#include <gtest/gtest.h>

#include "button.h"
#include "hiscore.h"
#include "pixels.h"
#include "player.h"
#include "round_display.h"
#include "screens.h"

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
