// Drawing a frame only when its picture changes: a frame's draw calls are folded into a
// signature and compared with the signature of the picture on screen.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>

// Nonzero while a frame is being signed: the drawing primitives then fold what decides
// their pixels into the signature and draw nothing.
extern int frame_signing;

// Folds `count` 32-bit words into the signature of the frame being signed.
void frame_fold_words(const void* words, std::size_t count);
// Folds a value, or `count` values, into the signature. A value is whole 32-bit words: a type
// with bytes to spare does not build, rather than leave them out of the signature.
constexpr std::size_t FRAME_WORD_BYTES = sizeof(std::uint32_t);
template <typename T>
void frame_fold(const T* values, std::size_t count) {
    constexpr std::size_t value_bytes = sizeof(T);
    static_assert(value_bytes % FRAME_WORD_BYTES == 0, "a folded value is whole words");
    frame_fold_words(values, count * (value_bytes / FRAME_WORD_BYTES));
}
template <typename T>
void frame_fold(const T& value) {
    frame_fold(&value, 1);
}
// The picture on screen may be lost or stale: the next frame is drawn whatever it shows.
void frame_mark_stale();
// Something a picture may depend on changed (an event came, or a screen's work changed what
// it shows): the next frame is signed again.
void frame_note_change();
// Notes an event as a change, and marks the picture stale after the window events that can
// spoil it: exposed, resized, or gained or lost focus or visibility.
void frame_note_event(Uint32 type);
// 1 when the next frame may differ from the picture on screen: a change was noted since the
// last frame was signed, or the picture is stale. Otherwise the frame would be the same, and
// is not even signed.
int frame_may_differ();
// Nonzero: every frame is drawn and presented, whatever it shows. Set only by the baseline
// that the benchmark and the screenshot comparison measure the game against (the program
// built with QUORVEL_DRAW_EVERY_FRAME, and the in-process frame bench); 0 in the game.
extern int frame_draw_every;
// Starts a frame's signature: until frame_sign_end the primitives only fold.
void frame_sign_begin();
// Ends the signing; 1 when the frame's picture differs from the one on screen or that one
// may be stale, and the frame then counts as the one on screen.
int frame_sign_end();

// Signs the picture that `draw` makes (running it once, signing only) and records it as the
// one on screen; 1 when it must be drawn and presented, as it differs from the one recorded
// before or that one may be stale.
template <typename Draw>
int frame_record_changed(const Draw& draw) {
    if (frame_draw_every) return 1;
    frame_sign_begin();
    draw();
    return frame_sign_end();
}
