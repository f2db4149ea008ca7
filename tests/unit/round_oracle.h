// The game's rounds and cards reproduced from its random seed, written apart from the game's
// code: the same C library's rand() in the same order of calls; the unit tests hold the game
// to them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace oracle {

constexpr int QUESTIONS = 25;

struct Question {
    int answer;
    char text[32];
};

// Two draws scaled by division to 0..max (max itself only from rand()'s top values); the
// larger operand first for subtraction; for division the draws are divisor and quotient,
// and a zero divisor gives 0 / the quotient (or 0 / 1).
inline Question make_question(int type, int max) {
    const unsigned long step = 2147483648ul / static_cast<unsigned long>(max);
    int a = static_cast<int>(static_cast<unsigned long>(rand()) / step);
    int b = static_cast<int>(static_cast<unsigned long>(rand()) / step);
    if (type == 1 && b > a) std::swap(a, b);
    if (type == 3 && a == 0) a = b ? b : 1, b = 0;
    const int left[] = {a, a, a, a * b}, right[] = {b, b, b, a},
              answer[] = {a + b, a - b, a * b, b};
    Question q{answer[type], {}};
    snprintf(q.text, sizeof q.text, "%d %c %d = ?", left[type], "+-*/"[type], right[type]);
    return q;
}

inline void make_round(int type, int level, Question* questions) {
    const int operand_max[] = {10, 20, 100};
    for (int i = 0; i < QUESTIONS; i++) questions[i] = make_question(type, operand_max[level]);
}

// The card's numbers row by row: each square draws question indices until an unused one
// comes up (25, from the top values, counts as used).
inline void deal(const Question* questions, int* card) {
    bool used[QUESTIONS] = {};
    for (int square = 0; square < QUESTIONS; square++) {
        int index = QUESTIONS;
        while (index >= QUESTIONS || used[index]) index = rand() / 85899345;
        used[index] = true;
        card[square] = questions[index].answer;
    }
}

}  // namespace oracle
