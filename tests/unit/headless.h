// Shared set-up for tests that draw: SDL's dummy video driver with the off-screen GL ES
// context, started once per test process.
#pragma once

#include <GLES/gl.h>

#include <array>

// Starts graphics and input once; later calls do nothing.
void headless_start();

// The RGBA colour of the pixel at game coordinates (x, y) of the last frame drawn.
std::array<GLubyte, 4> pixel_at(int x, int y);
