// The control map, event polling and the window-to-game coordinate mapping.
#include "input.h"

#include <cstdio>

#include "events.h"
#include "frame.h"
#include "game.h"
#include "graphics.h"
#include "main.h"

t_player_control_map p1_control_map;
int p1_controls_state[NUM_CONTROLS];
SDL_Event event;
int enable_joystick = 0;
int num_joysticks = 0;
int joystick_enabled = 0;
SDL_Joystick* joy = nullptr;
int joy_centerx = 0, joy_centery = 0;

namespace {

Uint32 hold_start = 0;  // tick of the last drop_presses
Uint32 hold_ms = 0;

// A mouse press or release in the hold after drop_presses; the tick difference stays right
// across a wrap, and a step of the clock either way ends the hold.
bool held(const SDL_Event& e) {
    const bool button = e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP;
    return button && SDL_GetTicks() - hold_start < hold_ms;
}

SDL_Event* key_template(SDLKey sym) {
    SDL_Event* e = new_SDL_Event();
    e->type = SDL_KEYDOWN;
    e->key.keysym.sym = sym;
    return e;
}

SDL_Event* mouse_template(Uint8 button) {
    SDL_Event* e = new_SDL_Event();
    e->type = SDL_MOUSEBUTTONDOWN;
    e->button.button = button;
    return e;
}

void probe_joystick() {
    if (enable_joystick) {
        num_joysticks = SDL_NumJoysticks();
        printf("%d Joysticks found.\n", num_joysticks);
    }
    if (!num_joysticks) return;
    joy = SDL_JoystickOpen(0);
    if (!joy) {
        printf("Joystick init failed.\n");
        return;
    }
    joystick_enabled = 1;
    SDL_JoystickEventState(1);
    joy_centerx = SDL_JoystickGetAxis(joy, 0);
    joy_centery = SDL_JoystickGetAxis(joy, 1);
    printf("Joystick enabled.\n");
}

// Applies `event` to one control through one of its templates; 1 if it was a press.
int apply_template(int control, const SDL_Event* tmpl) {
    int pressed = 0;
    if (tmpl->type == SDL_KEYDOWN) {
        const bool key = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (key && event.key.keysym.sym == tmpl->key.keysym.sym) {
            pressed = event.type == SDL_KEYDOWN;
            p1_controls_state[control] = pressed;
        }
    } else if (tmpl->type == SDL_MOUSEBUTTONDOWN) {
        const bool mouse = event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP;
        if (mouse && event.button.button == tmpl->button.button) {
            pressed = event.type == SDL_MOUSEBUTTONDOWN;
            p1_controls_state[control] = pressed;
        }
        // A left press is a tap, whatever button the template names.
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT)
            pressed = 1;
    }
    return pressed;
}

// Runs `event` through every slot of every control; 1 if any saw a press.
int apply_event() {
    int pressed = 0;
    for (int control = 0; control < NUM_CONTROLS; control++)
        for (SDL_Event* tmpl : p1_control_map.mappings[control].events)
            if (tmpl && apply_template(control, tmpl)) pressed = 1;
    return pressed;
}

}  // namespace

int init_input() {
    init_key_states();
    const SDLKey keys[NUM_CONTROLS] = {SDLK_UP,    SDLK_DOWN,   SDLK_LEFT,
                                       SDLK_RIGHT, SDLK_ESCAPE, SDLK_RETURN};
    for (int control = 0; control < NUM_CONTROLS; control++)
        p1_control_map.mappings[control].events[0] = key_template(keys[control]);
    p1_control_map.mappings[P_SELECT].events[1] = mouse_template(SDL_BUTTON_LEFT);
    probe_joystick();
    SDL_EnableKeyRepeat(0, 0);
    return 1;
}

void init_key_states() {
    for (int& state : p1_controls_state) state = 0;
}

SDL_Event* new_SDL_Event() { return new SDL_Event(); }

int compare_events(SDL_Event e1, SDL_Event e2) {
    return e1.type == e2.type && e1.type == SDL_KEYDOWN && e1.key.keysym.sym == e2.key.keysym.sym;
}

int poll_input() {
    int result = 0;
    while (!result && SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) exit_game();
        if (event.type == SDL_VIDEORESIZE)
            resize_window(event.resize.w, event.resize.h, FULLSCREEN);
        frame_note_event(event.type);
        if (!held(event)) result = apply_event();
    }
    // After SDL's own handling of the window's events, which may have painted over it.
    follow_window();
    return result;
}

void drop_presses(Uint32 ms) {
    events_drop_queued_presses();
    hold_start = SDL_GetTicks();
    hold_ms = ms;
}

void poll_exit_signals() {
    if (!SDL_PollEvent(&event)) return;
    if (event.type == SDL_QUIT) exit_game();
    if (event.type == SDL_VIDEORESIZE) resize_window(event.resize.w, event.resize.h, FULLSCREEN);
    for (SDL_Event* tmpl : p1_control_map.mappings[P_EXIT].events)
        if (tmpl && compare_events(*tmpl, event)) exit_signal = 1;
}

void get_event() {
    do {
        SDL_WaitEvent(&event);
    } while (event.type == SDL_NOEVENT);
}

t_intcoords projectWindowCoords(int x, int y) {
    const float gx =
        static_cast<float>(x) / static_cast<float>(real_screen_w) * (proj_x_max - proj_x_min) +
        proj_x_min;
    const float gy =
        static_cast<float>(y) / static_cast<float>(real_screen_h) * (proj_y_max - proj_y_min) +
        proj_y_min;
    return {static_cast<int>(gx), static_cast<int>(gy)};
}
