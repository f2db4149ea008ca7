// Buttons and panels as the player sees them.
#include <gtest/gtest.h>

#include <cstring>

#include "button.h"
#include "pixels.h"

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
