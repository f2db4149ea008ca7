// The floor of the platform: SDL 1.2, our EGL bridge and GL ES 1.1 set up as the game sets
// them up, then frames that only clear and present, until Escape or a window close. With
// the argument "draw" each frame also draws one shape of each kind the game draws (a flat
// quad, a line, a textured quad), to tell the renderer's cost of a first draw from ours.
#include <GLES/gl.h>
#include <SDL/SDL.h>

#include <cstdio>

#include "sdl_gles.h"

namespace {

constexpr Uint32 FRAME_DELAY_MS = 20;  // the main menu's delay

bool start() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    char driver[32] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    // The dummy driver has no display size to take, so it gets the game's.
    const bool sized = SDL_strcmp(driver, "dummy") == 0;
    if (!SDL_SetVideoMode(sized ? 800 : 0, sized ? 480 : 0, 16, SDL_FULLSCREEN)) return false;
    if (SDL_GLES_Init(SDL_GLES_VERSION_1_1) != 0) return false;
    SDL_GLES_SetAttribute(SDL_GLES_DEPTH_SIZE, 24);
    SDL_GLES_Context* context = SDL_GLES_CreateContext();
    return context && SDL_GLES_MakeCurrent(context) == 0;
}

GLuint white_texture() {
    const GLubyte white[4] = {255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    return name;
}

// The fixed state the game keeps: an 800 x 480 projection, blending, texturing on.
void set_up_drawing() {
    glMatrixMode(GL_PROJECTION);
    glOrthof(0, 800, 480, 0, 0, 20);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    white_texture();
}

void draw_shapes() {
    const GLfloat quad[] = {10, 10, 60, 10, 10, 60, 60, 60};
    const GLfloat line[] = {10, 80, 60, 80};
    const GLfloat corners[] = {0, 0, 1, 0, 0, 1, 1, 1};
    const GLfloat colours[4 * 4] = {1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glVertexPointer(2, GL_FLOAT, 0, quad);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glVertexPointer(2, GL_FLOAT, 0, line);
    glDrawArrays(GL_LINES, 0, 2);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, corners);
    glVertexPointer(2, GL_FLOAT, 0, quad);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

bool wants_to_quit() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT ||
            (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool draw = argc > 1 && SDL_strcmp(argv[1], "draw") == 0;
    if (!start()) {
        printf("ERROR: %s\n", SDL_GetError());
        return 1;
    }
    glClearColor(0, 0, 0, 0);
    if (draw) set_up_drawing();
    while (!wants_to_quit()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (draw) draw_shapes();
        SDL_GLES_SwapBuffers();
        SDL_Delay(FRAME_DELAY_MS);
    }
    SDL_Quit();
    return 0;
}
