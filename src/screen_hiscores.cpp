// The high-score table of the type and level chosen on the menu.
#include <cstdio>

#include "button.h"
#include "fonts.h"
#include "graphics.h"
#include "hiscore.h"
#include "layout.h"
#include "round.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 HISCORES_DELAY_MS = 5;

struct Hiscores {
    t_screen_layout* layout;
    t_button* done;
};

void draw(Hiscores* shown) {
    clear_screen();
    render_hiscores_title(layout_get_item(shown->layout, "title"));
    hiscores_render(bingo_round.question_type, bingo_round.skill_level,
                    layout_get_item(shown->layout, "hiscores"));
    screen_button_render(shown->layout, shown->done, "done_button");
}

}  // namespace

// The heading and the entries each take a line of the panel.
constexpr double TABLE_LINES = 1 + HISCORE_RANKS;
// The heading stands a quarter of the font's height below the panel's top.
constexpr int FIRST_LINE_GAP_DIVISOR = 4;

// A heading and the five entries, one line each, spaced a sixth of the panel apart.
void hiscores_render(t_question_type qtype, t_skill_level skill, t_layout_item* layout) {
    if (layout == nullptr) return;
    const double spacing = layout->h / TABLE_LINES;
    // Whole units, as the font's height.
    const int first_line_gap = font_height(large_font) / FIRST_LINE_GAP_DIVISOR;
    double y = layout->y + static_cast<double>(first_line_gap);
    const int x = static_cast<int>(layout->x + layout->w / 2);
    render_panel(layout);
    char text[32];
    snprintf(text, sizeof text, "%s - %s", qtype_str[qtype], skill_level_str[skill]);
    font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    for (const t_hiscore& entry : hiscores[qtype][skill]) {
        y += spacing;
        snprintf(text, sizeof text, "%-10d %.3s", entry.score, entry.initials);
        font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    }
}

void do_hiscores() {
    Hiscores shown = {layout_load("hiscores.layout"), button_new("Done")};
    auto on_tap = [&](float x, float y) {
        if (screen_button_hit(shown.layout, shown.done, "done_button", x, y))
            screen_leave(MAIN_MENU);
    };
    screen_loop(MAIN_MENU, HISCORES_DELAY_MS, on_tap, [&] { draw(&shown); });
    delete shown.done;
    layout_free(shown.layout);
}
