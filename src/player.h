// The player: last round's score and the initials typed for the high-score table.
#pragma once

#include <cstdint>

#include "layout.h"

struct s_player {
    int32_t score;              // total of the last finished round
    int32_t num_rounds_played;  // kept at 0
    char initials[4];           // up to three capitals, NUL-terminated
};
using t_player = s_player;

extern t_player player1;

void player_init(t_player* player);
// Centred panel texts in a layout item; a null item draws nothing.
void player_render_initials(t_player* player, t_layout_item* layout);
void player_render_score(t_player* player, t_layout_item* layout);
