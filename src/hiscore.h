// The twelve high-score tables (five entries per question type and skill level) and their file.
#pragma once

#include <cstdint>

#include "layout.h"
#include "round.h"

constexpr int HISCORE_RANKS = 5;

struct s_hiscore {
    int32_t score;
    char initials[4];  // up to three characters; empty when never filled
};
using t_hiscore = s_hiscore;

extern t_hiscore hiscores[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

// Fills the tables from the file, one line per entry; a missing file changes nothing.
void hiscores_load(const char* filename);
// Replaces the file with all 60 entries, atomically; 1 on success, 0 (after an "ERROR: "
// line, the old file untouched) on failure.
int hiscores_save(const char* filename);
// Draws one table with its heading into `layout`.
void hiscores_render(t_question_type qtype, t_skill_level skill, t_layout_item* layout);
