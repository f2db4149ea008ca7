// Drawing a frame only when its picture changes: a frame's draw calls are folded into a
// signature and compared with the signature of the picture on screen.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>

// Nonzero while a frame is being signed: the drawing primitives then fold what decides
// their pixels into the signature and draw nothing.
extern int frame_signing;

// Folds `bytes` bytes, whole 32-bit words, into the signature of the frame being signed.
void frame_fold(const void* data, std::size_t bytes);
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

// 1 when the picture that `draw` makes must be drawn and presented; `draw` is run once,
// signing only.
template <typename Draw>
int frame_changed(const Draw& draw) {
    if (frame_draw_every) return 1;
    frame_sign_begin();
    draw();
    return frame_sign_end();
}
