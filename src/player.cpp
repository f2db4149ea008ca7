// The player record and its two panels.
#include "player.h"

#include <cstdio>
#include <cstring>

#include "button.h"

t_player player1;

void player_init(t_player* player) {
    player->score = 0;
    player->num_rounds_played = 0;
    memset(player->initials, 0, sizeof player->initials);
}

void player_render_initials(t_player* player, t_layout_item* layout) {
    render_panel_text(layout, player->initials);
}

void player_render_score(t_player* player, t_layout_item* layout) {
    char scorestr[16];
    snprintf(scorestr, sizeof scorestr, "%d", player->score);
    render_panel_text(layout, scorestr);
}
