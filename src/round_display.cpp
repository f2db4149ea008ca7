// Drawing the round and its card: clock, question, solution, and the card's squares.
#include "round_display.h"

#include <cstdio>

#include "button.h"
#include "fonts.h"
#include "graphics.h"
#include "text.h"

void round_time_text(int32_t time_remaining, char* text, std::size_t size) {
    if (time_remaining == 0) {
        text_copy(text, size, "GAME OVER");
        return;
    }
    snprintf(text, size, "%02d:%02d", time_remaining / 60000, time_remaining % 60000 / 1000);
}

void round_time_render(t_round* b_round, t_layout_item* layout) {
    char timestr[ROUND_TIME_TEXT_SIZE];
    round_time_text(b_round->time_remaining, timestr, sizeof timestr);
    render_panel_text(layout, timestr);
}

void round_question_render(t_round* b_round, t_layout_item* layout) {
    render_panel_text(layout, b_round->questions[b_round->curr_q_idx].text);
}

void round_solution_render(t_round* b_round, t_layout_item* layout) {
    render_panel_text(layout, b_round->questions[b_round->curr_q_idx].solutiontext);
}

namespace {

constexpr float SQUARE_GAP = 3;  // panel showing between neighbouring squares
// Room for any int, so even the one five-digit answer, 10000, is shown whole.
constexpr int ANSWER_TEXT_SIZE = 12;

// The number centred on the square's centre, the font's height setting the vertical place.
void write_square_number(const t_card_square& square, float cx, float cy) {
    if (!large_font) return;
    char ans[ANSWER_TEXT_SIZE];
    snprintf(ans, sizeof ans, "%d", square.answer_value);
    const int y =
        static_cast<int>(static_cast<double>(cy) - static_cast<double>(large_font->height) / 2);
    font_write(large_font, ans, static_cast<int>(cx), y, FONT_CENTRED);
}

}  // namespace

void bc_render(t_bingo_card* card, t_layout_item* layout) {
    if (!layout) return;
    render_panel(layout);
    const float cell_w = layout->w / CARD_SIZE - SQUARE_GAP,
                cell_h = layout->h / CARD_SIZE - SQUARE_GAP;
    const float half_w = cell_w / 2, half_h = cell_h / 2;
    for (int row = 0; row < CARD_SIZE; row++) {
        for (int col = 0; col < CARD_SIZE; col++) {
            const float cx = bc_cell_centre(layout->x, layout->w, col);
            const float cy = bc_cell_centre(layout->y, layout->h, row);
            const t_card_square& square = card->squares[row][col];
            put_quad(cx - half_w, cy - half_h, cell_w, cell_h, 1, 1, 1, 1);
            write_square_number(square, cx, cy);
            // The veil lets the number show through, so a marked square still reads.
            if (square.marked) put_quad(cx - half_w, cy - half_h, cell_w, cell_h, 0, 0, 0.6f, 0.8f);
        }
    }
}
