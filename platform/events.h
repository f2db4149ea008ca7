// SDL's event queue where the platforms' SDLs differ: the device's SDL 1.2 picks queued
// events by a mask of types, the browser's by a range of type numbers.
#pragma once

// Takes every mouse-button press and release out of SDL's queue, after fetching what the
// windowing system holds, so that none reaches the screen that polls next.
void events_drop_queued_presses();
