// A round: 25 generated arithmetic questions, the round clock and the question cursor.
#pragma once

#include <cstdint>

enum t_question_type : int32_t {
    ADDITION = 0,
    SUBTRACTION = 1,
    MULTIPLICATION = 2,
    DIVISION = 3,
    NUM_QTYPES = 4
};
enum t_skill_level : int32_t { EASY = 0, MEDIUM = 1, HARD = 2, NUM_SKILL_LEVELS = 3 };

constexpr int NUM_QUESTIONS = 25;     // one per square of the 5 x 5 card
constexpr int ROUND_TIME_MS = 60000;  // the clock of every round
// Room for the longest text the generator makes, "10000 / 100 = 100" (17 characters).
constexpr int QUESTION_TEXT_SIZE = 24;

struct s_question {
    char text[QUESTION_TEXT_SIZE];  // "7 + 3 = ?"
    int32_t answer;
    char solutiontext[QUESTION_TEXT_SIZE];  // "7 + 3 = 10"
    int32_t answered;                       // 1 once tapped right while current
};
using t_question = s_question;

struct s_round {
    int32_t time_remaining;  // milliseconds, never below 0
    int32_t curr_q_idx;      // 0..24
    t_question questions[NUM_QUESTIONS];
    t_question_type question_type;  // also the player's menu selection
    t_skill_level skill_level;      // likewise
};
using t_round = s_round;

extern t_round bingo_round;
extern const char* const qtype_str[NUM_QTYPES];
extern const char* const skill_level_str[NUM_SKILL_LEVELS];

// New questions and clock; keeps curr_q_idx. Makes exactly 50 rand() calls.
void round_init(t_round* b_round, t_question_type question_type, t_skill_level skill_level,
                int time);
// Builds one unanswered question from its two drawn operands (0..100, first drawn first):
// subtraction puts the larger first; division shows operand1 * operand2 / operand1, with a
// zero first operand exchanged for the second (or 1), so every quotient is exact.
void round_make_question(t_question* question, t_question_type type, uint8_t operand1,
                         uint8_t operand2);
// Moves to the next unanswered question (cyclic); 1 if one was found, 0 if all are answered.
int round_advance_question(t_round* b_round);
// As round_advance_question, backwards.
int round_previous_question(t_round* b_round);
int round_num_unanswered_questions(t_round* b_round);
int round_num_answered_questions(t_round* b_round);
// 50 points per whole second left.
int round_time_bonus(t_round* b_round);
