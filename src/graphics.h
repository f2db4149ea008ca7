// Video, the GL ES context and the 800 x 480 game coordinate space, and the drawing
// primitives that every picture of the game is made of.
#pragma once

#include <GLES/gl.h>
#include <SDL/SDL.h>

#include "sdl_gles.h"

constexpr int GAME_WIDTH = 800;  // game coordinates always span the whole window
constexpr int GAME_HEIGHT = 480;

extern SDL_Surface* screen;
extern SDL_GLES_Context* context;
extern int FULLSCREEN;                    // 0 or SDL_FULLSCREEN
extern int real_screen_w, real_screen_h;  // window size in pixels
extern float proj_x_min, proj_x_max, proj_y_min, proj_y_max;
extern unsigned frames_presented;  // counted by update_screen

// Whole graphics start-up; 1 on success, 0 (after an "ERROR: " line) on failure.
int init_graphics();
// Sets the video mode and caption; 1 on success, 0 on failure.
int init_sdl_video();
// Creates and binds the GL ES context and sets the fixed GL state; 1 on success, 0 (after
// an "ERROR: " line naming the step, and with SDL shut down) on failure.
int init_gl();
// Releases the GL context and the bridge, and shuts SDL down: every way out of the game,
// clean or failed, after graphics started.
void close_graphics();
// Records the window size and sets viewport and projection; always 1. A size of 0 or less
// changes nothing.
int resize_window(int width, int height, int fullscreen);
// After the window system spoiled the picture (a window over it gone, the window resized,
// moved or shown again, the screen resized): the window's size now taken and the next
// frame drawn whatever it shows.
void follow_window();
void toggle_fullscreen();
// While a frame is signed (frame.h), this and every primitive below only add to its
// signature.
void clear_screen();
// Presents the frame.
void update_screen();
void render_debug_info();
void render_status_area();
// A complete empty frame.
void render_world();

// ---- Drawing primitives: one draw call each, leaving the GL state as they found it ----

void put_triangle(float x1, float y1, float x2, float y2, float x3, float y3, float r, float g,
                  float b, float a);
void put_quad(float x, float y, float w, float h, float r, float g, float b, float a);
// `linewidth` is in window pixels.
void draw_line(float x1, float y1, float x2, float y2, float r, float g, float b, float a,
               float linewidth);
void put_sprite(int id, int x, int y);
void put_sprite_scaled_w_h(int id, int x, int y, int w, int h);
void put_sprite_colored(int id, int x, int y, float r, float g, float b, float a);
void put_sprite_coloredf(int id, float x, float y, float r, float g, float b, float a);
