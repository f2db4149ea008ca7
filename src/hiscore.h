// The twelve high-score tables (five entries per question type and skill level) and their file.
#pragma once

#include <cstdint>

#include "round.h"

constexpr int HISCORE_RANKS = 5;
// The file the game keeps them in, in its working directory.
constexpr const char* HISCORES_FILE = "hiscores.dat";

struct s_hiscore {
    int32_t score;
    char initials[4];  // up to three characters; empty when never filled
};
using t_hiscore = s_hiscore;

extern t_hiscore hiscores[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

// Fills the tables from the file, one line per entry, reading no more than 60 lines can
// hold. A missing file changes nothing, silently; one that cannot be read or is not a
// regular file changes nothing after an "ERROR: " line. Entries of this run that no save
// has written yet go back in at their ranks when a line read takes their place.
void hiscores_load(const char* filename);
// Replaces the file with all 60 entries, as datafile_replace does; 1 on success, 0 (after an
// "ERROR: " line, the old file untouched) on failure. A file that exists but cannot be read
// is never replaced.
int hiscores_save(const char* filename);
// Saves one new entry so that other copies of the game saving meanwhile lose nothing: under
// a lock shared with them, the table is read again from the file as it is now (as by
// hiscores_load, silently; a missing file leaves it as it is), the score goes in above every
// entry it equals or beats (the last one dropping out; below all five it changes nothing,
// after a line saying so), and the file is replaced as by hiscores_save. The entry is in the
// table in memory either way. 1 on success, 0 after one "ERROR: " line.
//
// Both saves wait DATAFILE_LOCK_WAIT_MS at most for another holder of the lock, and then save
// without it after a line saying so, as where no lock can be had at all (silently).
int hiscores_save_entry(const char* filename, t_question_type qtype, t_skill_level skill,
                        int32_t score, const char* initials);
