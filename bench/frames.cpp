// The in-process half of the benchmark: the game's own start-up, then each of the six
// screens run as the game runs them, with representative contents, timing every frame; one
// frame of each recorded and replayed bare; the loading of the fonts; the dealing of
// rounds. Prints one line per measure for bench/run_bench.py. Run it from a game folder.
#include <SDL/SDL.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bingo_card.h"
#include "fonts.h"
#include "frame.h"
#include "game.h"
#include "gl_record.h"
#include "hiscore.h"
#include "layout.h"
#include "main.h"
#include "player.h"
#include "round.h"
#include "screens.h"

extern "C" void __real_SDL_Delay(Uint32 ms);

namespace {

constexpr int WARMUP_FRAMES = 20;
constexpr int MEASURED_FRAMES = 150;
constexpr int RECORDED_FRAME = WARMUP_FRAMES;  // a settled frame, the last of the warm-up
constexpr int DEAL_ROUNDS = 20000;

double now_ms(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

double page_faults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt + usage.ru_majflt);
}

// CPU time and page faults of the whole process (the renderer's own threads included).
struct Stamp {
    double cpu = now_ms(CLOCK_PROCESS_CPUTIME_ID);
    double wall = now_ms(CLOCK_MONOTONIC);
    double faults = page_faults();
};

struct Samples {
    std::vector<double> cpu, wall, faults;
    void add(const Stamp& start) {
        const Stamp end;
        cpu.push_back(end.cpu - start.cpu);
        wall.push_back(end.wall - start.wall);
        faults.push_back(end.faults - start.faults);
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The screen being run: its frames end at the screen's own SDL_Delay, which the bench
// wraps to take the time, record a frame, and end the screen after enough frames.
struct ScreenRun {
    std::function<void()> after_first_frame;  // contents that the screen's entry resets
    Samples frames;
    GlFrame recorded;
    Samples replayed;
    Uint32 delay = 0;
    int frame = 0;
    Stamp start;
};

ScreenRun* running = nullptr;

// Frames after the recorded one are measured (recording slows the recorded one a little).
void end_frame(ScreenRun* run, Uint32 delay) {
    if (run->frame > RECORDED_FRAME) run->frames.add(run->start);
    if (run->frame == RECORDED_FRAME) gl_record_stop();
    run->delay = delay;
    run->frame++;
    if (run->frame == 1 && run->after_first_frame) run->after_first_frame();
    if (run->frame == RECORDED_FRAME + 1 + MEASURED_FRAMES) exit_signal = 1;
}

// A bare replay of the recorded frame between two of the game's frames, with the screen's
// delay after it: game and replay take turns, so both meet the same load of the machine.
void replay_between(ScreenRun* run) {
    const Stamp start;
    gl_replay(run->recorded);
    run->replayed.add(start);
    __real_SDL_Delay(run->delay);
}

void report(const char* name, const ScreenRun& run) {
    const Samples& replayed = run.replayed;
    printf("screen %s %u %d %.4f %.4f %.1f %.4f %.4f %.1f\n", name, run.delay,
           run.recorded.draw_calls, median(run.frames.cpu), median(run.frames.wall),
           median(run.frames.faults), median(replayed.cpu), median(replayed.wall),
           median(replayed.faults));
    fflush(stdout);
}

void bench_screen(const char* name, void (*screen)(), std::function<void()> contents = {}) {
    ScreenRun run;
    run.after_first_frame = std::move(contents);
    running = &run;
    screen();
    running = nullptr;
    report(name, run);
}

// Right taps, through the card's own tap handler, on half the questions of the round.
void answer_half_the_round() {
    t_screen_layout* layout = layout_load("play.layout");
    t_layout_item* card = layout_get_item(layout, "bingo_card");
    for (int q = 0; q < NUM_QUESTIONS / 2 && card; q++) {
        const int answer = bingo_round.questions[bingo_round.curr_q_idx].answer;
        for (int i = 0; i < CARD_SIZE * CARD_SIZE; i++) {
            const t_card_square& square = bingo_card.squares[i / CARD_SIZE][i % CARD_SIZE];
            if (square.marked || square.answer_value != answer) continue;
            bc_handle_event_left_click(&bingo_card, card, &bingo_round, &player1,
                                       card->x + card->w * (i % CARD_SIZE + 0.5f) / CARD_SIZE,
                                       card->y + card->h * (i / CARD_SIZE + 0.5f) / CARD_SIZE);
            break;
        }
    }
    layout_free(layout);
}

void fill_the_table() {
    const char* initials[HISCORE_RANKS] = {"QRV", "ABC", "XYZ", "MMM", "WWW"};
    t_hiscore* table = hiscores[bingo_round.question_type][bingo_round.skill_level];
    for (int i = 0; i < HISCORE_RANKS; i++) {
        table[i].score = 18800 - 2300 * i;
        snprintf(table[i].initials, sizeof table[i].initials, "%s", initials[i]);
    }
}

// The screens in the order a timed-out round takes, each leaving the contents the next shows.
void bench_screens() {
    bench_screen("main_menu", do_main_menu);
    bench_screen("playing", do_playing, answer_half_the_round);
    bingo_round.time_remaining = 0;  // the clock ran out
    bench_screen("game_over", do_game_over);
    bench_screen("round_score", do_round_score);
    snprintf(player1.initials, sizeof player1.initials, "QRV");
    bench_screen("get_initials", do_get_initials);
    fill_the_table();
    bench_screen("hiscores", do_hiscores);
}

// Loading both fonts again, as start-up does; three times, well within the sprite table.
void bench_fonts() {
    std::vector<double> cpu;
    for (int i = 0; i < 3; i++) {
        const Stamp start;
        t_font* small = font_load("small_font.fnt");
        t_font* large = font_load("large_font.fnt");
        cpu.push_back(Stamp().cpu - start.cpu);
        font_free(small);
        font_free(large);
    }
    printf("fonts %.4f\n", median(cpu));
}

void bench_dealing() {
    t_round round{};
    t_bingo_card card{};
    const Stamp start;
    for (int i = 0; i < DEAL_ROUNDS; i++) {
        round_init(&round, static_cast<t_question_type>(i % NUM_QTYPES),
                   static_cast<t_skill_level>(i % NUM_SKILL_LEVELS), ROUND_TIME_MS);
        bc_init(&card, &round);
    }
    const Stamp end;
    printf("deal %.4f\n", (end.cpu - start.cpu) * 1e3 / DEAL_ROUNDS);
}

}  // namespace

extern "C" void __wrap_SDL_Delay(Uint32 ms) {
    if (running) end_frame(running, ms);
    __real_SDL_Delay(ms);
    if (!running) return;
    if (running->frame > RECORDED_FRAME + 1) replay_between(running);
    if (running->frame == RECORDED_FRAME) gl_record_start(&running->recorded);
    running->start = Stamp();
}

int main() {
    frame_draw_every = 1;  // every frame of each screen is timed, so each must be drawn
    if (!initialize()) return 1;
    bench_screens();
    bench_fonts();
    bench_dealing();
    exit_game();
}
