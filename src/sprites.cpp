// The sprite table: slots of GL textures cut from BMP images and surfaces.
#include "sprites.h"

sprite_t sprites[MAX_SPRITES];

void reset_sprites() {
    for (sprite_t& slot : sprites) {
        slot.filename[0] = '\0';
        slot.image = nullptr;
        slot.texture = 0;
        slot.timestamp = 0;
        slot.tw = 1;
        slot.th = 1;
        slot.in_spriteset = 0;
    }
}
