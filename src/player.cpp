// The player record.
#include "player.h"

#include <cstring>

t_player player1;

void player_init(t_player* player) {
    player->score = 0;
    player->num_rounds_played = 0;
    memset(player->initials, 0, sizeof player->initials);
}
