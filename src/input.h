// Input: the SDL event queue turned into control states, and window-to-game coordinates.
#pragma once

#include <SDL/SDL.h>

enum { P_UP = 0, P_DOWN = 1, P_LEFT = 2, P_RIGHT = 3, P_EXIT = 4, P_SELECT = 5, NUM_CONTROLS = 6 };

constexpr int CONTROL_MAPPING_SLOTS = 3;

// A press this soon after the screen changed is the rest of the tap that changed it (a double
// tap, a bouncing touch panel): no one sees a screen and taps it as fast.
constexpr Uint32 SAME_TAP_MS = 200;

// Up to three event templates (type plus key sym or mouse button) that trigger a control.
struct control_mapping {
    SDL_Event* events[CONTROL_MAPPING_SLOTS];  // null = empty slot
};

struct s_player_control_map {
    control_mapping mappings[NUM_CONTROLS];
};
using t_player_control_map = s_player_control_map;

struct s_intcoords {
    int x, y;
};
using t_intcoords = s_intcoords;

extern t_player_control_map p1_control_map;
extern int p1_controls_state[NUM_CONTROLS];  // 1 while pressed
extern SDL_Event event;                      // the last event taken from the queue
extern int enable_joystick;
extern int num_joysticks;
extern int joystick_enabled;
extern SDL_Joystick* joy;
extern int joy_centerx, joy_centery;

// Builds the default control map; always 1.
int init_input();
void init_key_states();
// A new event template (contents unset), owned by the control map.
SDL_Event* new_SDL_Event();
// 1 when both are key presses of the same key.
int compare_events(SDL_Event e1, SDL_Event e2);
// Takes events until a press is seen (1) or the queue is empty (0); a quit request
// ends the program. Mouse presses and releases held back by drop_presses are dropped.
int poll_input();
// Drops the mouse presses and releases queued so far, those the window system still holds
// included; poll_input then takes and drops those that arrive in the next `hold_ms` ms.
void drop_presses(Uint32 hold_ms);
// Takes at most one event; raises exit_signal on the exit key.
void poll_exit_signals();
// Waits for the next event.
void get_event();
// A window position in pixels mapped to game coordinates.
t_intcoords projectWindowCoords(int x, int y);
