// A round: question generation, the question cursor, and the round's counts.
#include "round.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

t_round bingo_round;
const char* const qtype_str[NUM_QTYPES] = {"ADDITION", "SUBTRACTION", "MULTIPLICATION", "DIVISION"};
const char* const skill_level_str[NUM_SKILL_LEVELS] = {"EASY", "MEDIUM", "HARD"};

constexpr int OPERAND_MAX[NUM_SKILL_LEVELS] = {10, 20, 100};
constexpr int POINTS_PER_SECOND_LEFT = 50;

// Scaled by division, not modulo: 0..max-1 are equally likely and max itself comes only from
// the few highest values of rand(). Replays of a seeded game depend on this exact scaling.
static uint8_t draw_operand(unsigned scale) {
    return static_cast<uint8_t>(static_cast<unsigned>(rand()) / scale);
}

// Operands are bytes, so every number of a question is below 65536: five digits at most, which
// the compiler can see from the types. The longest text the game makes is "10000 / 100 = 100".
static_assert(sizeof "65535 / 65535 = 65535" <= QUESTION_TEXT_SIZE, "question texts must fit");

static void write_question(t_question* question, char op, uint16_t left, uint16_t right,
                           uint16_t answer) {
    snprintf(question->text, sizeof question->text, "%d %c %d = ?", left, op, right);
    question->answer = answer;
    snprintf(question->solutiontext, sizeof question->solutiontext, "%d %c %d = %d", left, op,
             right, answer);
    question->answered = 0;
}

static void make_division(t_question* question, uint8_t divisor, uint8_t quotient) {
    if (divisor == 0) {
        // 0 / d = ? with the drawn d, or 0 / 1 = ? when both were drawn as 0.
        divisor = quotient == 0 ? 1 : quotient;
        quotient = 0;
    }
    write_question(question, '/', divisor * quotient, divisor, quotient);
}

void round_make_question(t_question* question, t_question_type type, uint8_t operand1,
                         uint8_t operand2) {
    switch (type) {
        case ADDITION:
            write_question(question, '+', operand1, operand2, operand1 + operand2);
            break;
        case SUBTRACTION:
            if (operand2 > operand1) std::swap(operand1, operand2);  // never negative
            write_question(question, '-', operand1, operand2, operand1 - operand2);
            break;
        case MULTIPLICATION:
            write_question(question, '*', operand1, operand2, operand1 * operand2);
            break;
        default:  // DIVISION
            make_division(question, operand1, operand2);
            break;
    }
}

void round_init(t_round* b_round, t_question_type question_type, t_skill_level skill_level,
                int time) {
    b_round->time_remaining = time;
    b_round->question_type = question_type;
    b_round->skill_level = skill_level;
    const unsigned scale = 2147483648u / OPERAND_MAX[skill_level];
    for (t_question& question : b_round->questions) {
        // Two separate statements: the first operand must be drawn first.
        uint8_t operand1 = draw_operand(scale);
        uint8_t operand2 = draw_operand(scale);
        round_make_question(&question, question_type, operand1, operand2);
    }
}

// Steps the cursor by `step` (+1 or -1) until it lands on an unanswered question; after a
// full circle without one it is back where it started.
static int step_to_unanswered(t_round* b_round, int step) {
    for (int i = 0; i < NUM_QUESTIONS; i++) {
        b_round->curr_q_idx = (b_round->curr_q_idx + step + NUM_QUESTIONS) % NUM_QUESTIONS;
        if (!b_round->questions[b_round->curr_q_idx].answered) return 1;
    }
    return 0;
}

int round_advance_question(t_round* b_round) { return step_to_unanswered(b_round, 1); }

int round_previous_question(t_round* b_round) { return step_to_unanswered(b_round, -1); }

int round_num_unanswered_questions(t_round* b_round) {
    int count = 0;
    for (const t_question& question : b_round->questions) count += question.answered == 0;
    return count;
}

int round_num_answered_questions(t_round* b_round) {
    int sum = 0;
    for (const t_question& question : b_round->questions) sum += question.answered;
    return sum;
}

int round_time_bonus(t_round* b_round) {
    return b_round->time_remaining / 1000 * POINTS_PER_SECOND_LEFT;
}
