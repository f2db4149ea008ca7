// The SDL OpenGL ES bridge: an OpenGL ES 1.1 context for the SDL 1.2 window, made on EGL.
// With an X11 window it draws into that window; with no window (SDL's dummy video driver)
// it draws into an off-screen 800 x 480 buffer that can be read back with glReadPixels; any
// other driver without an X11 window is refused. Every failure leaves its reason, naming the
// EGL call and EGL's error, in SDL_GetError.
#pragma once

using SDL_GLES_Context = void;  // opaque handle

enum SDL_GLES_Version { SDL_GLES_VERSION_1_1 = 1 };
enum SDL_GLES_Attr { SDL_GLES_DEPTH_SIZE = 0, SDL_GLES_STENCIL_SIZE = 1, SDL_GLES_NUM_ATTRS = 2 };

// Flags SDL_SetVideoMode needs besides the game's own: EGL makes its context on the finished
// window (none), while the browser's canvas gets its WebGL context from the video mode.
int SDL_GLES_VideoModeFlags();
// The size to ask of SDL_SetVideoMode: the display's own (0 x 0), or the game's under SDL's
// dummy driver, which knows no display.
void SDL_GLES_VideoModeSize(int* width, int* height);
// 1 when the video driver that SDL started can show the game: X11, SDL's dummy driver (drawn
// off-screen), or one named in SDL_VIDEODRIVER, which SDL_GLES_Init then judges. Otherwise 0,
// with the reason in SDL_GetError: for want of an X display SDL fell back to a console
// driver that the game cannot draw into.
int SDL_GLES_DriverUsable();
// Prepares the bridge for the given version; call after the video mode is set. 0 on success.
int SDL_GLES_Init(SDL_GLES_Version version);
// Records a wish for the next context (a buffer size in bits). 0 on success.
int SDL_GLES_SetAttribute(SDL_GLES_Attr attr, int value);
// A context for the current SDL video surface; null on failure.
SDL_GLES_Context* SDL_GLES_CreateContext();
// Binds the context so that GL calls draw into the window. 0 on success.
int SDL_GLES_MakeCurrent(SDL_GLES_Context* context);
// Presents the back buffer.
void SDL_GLES_SwapBuffers();
// 1 when the window's picture may have been spoiled since the last call (uncovered, resized,
// moved, shown or hidden, or the screen resized), with the window's size now; a full-screen
// window is first fitted to a resized screen. Always 0 without an X11 window (and in the
// browser, whose page fits the canvas and sends SDL a resize).
int SDL_GLES_WindowSpoiled(int* width, int* height);
// Releases the context and its surface.
void SDL_GLES_DeleteContext(SDL_GLES_Context* context);
// Releases everything the bridge holds; call before SDL_Quit.
void SDL_GLES_Quit();
