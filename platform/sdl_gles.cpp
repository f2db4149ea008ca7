// The SDL OpenGL ES bridge on EGL: a window surface on SDL's X11 window when there is one,
// otherwise a surfaceless off-screen buffer of the game's nominal size.
#include "sdl_gles.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr EGLint OFFSCREEN_WIDTH = 800;
constexpr EGLint OFFSCREEN_HEIGHT = 480;
// The colour of the game's 16-bit video mode, 5-6-5.
constexpr EGLint RED_BITS = 5;
constexpr EGLint GREEN_BITS = 6;
constexpr EGLint BLUE_BITS = 5;

struct Bridge {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    Display* x_display = nullptr;  // SDL's connection; null without a window
    Window x_window = 0;
    Window x_fullscreen = 0;   // SDL's full-screen parent of the window
    Display* watch = nullptr;  // the bridge's own connection, hearing of the window's changes
    int attrs[SDL_GLES_NUM_ATTRS] = {0, 0};
};

Bridge bridge;

// Leaves "STEP failed: EGL_NAME (0xNNNN)" as SDL's error text, from EGL's last error.
void set_egl_error(const char* step) {
    static const char* const names[] = {
        "EGL_NOT_INITIALIZED",     "EGL_BAD_ACCESS",        "EGL_BAD_ALLOC",
        "EGL_BAD_ATTRIBUTE",       "EGL_BAD_CONFIG",        "EGL_BAD_CONTEXT",
        "EGL_BAD_CURRENT_SURFACE", "EGL_BAD_DISPLAY",       "EGL_BAD_MATCH",
        "EGL_BAD_NATIVE_PIXMAP",   "EGL_BAD_NATIVE_WINDOW", "EGL_BAD_PARAMETER",
        "EGL_BAD_SURFACE",         "EGL_CONTEXT_LOST"};
    static_assert(std::size(names) == EGL_CONTEXT_LOST - EGL_NOT_INITIALIZED + 1,
                  "one name per EGL error code");
    const EGLint error = eglGetError();
    char text[128];
    if (error == EGL_SUCCESS) {
        // glvnd answers so when it finds no EGL vendor library at all.
        snprintf(text, sizeof text,
                 "%s failed, and EGL gives no error: is an EGL driver installed?", step);
    } else {
        const bool known = error >= EGL_NOT_INITIALIZED && error <= EGL_CONTEXT_LOST;
        snprintf(text, sizeof text, "%s failed: %s (0x%04x)", step,
                 known ? names[error - EGL_NOT_INITIALIZED] : "EGL error",
                 static_cast<unsigned>(error));
    }
    SDL_SetError("%s", text);
}

// The name of the video driver SDL started; empty before SDL_Init.
struct DriverName {
    char text[32] = "";
    DriverName() { SDL_VideoDriverName(text, sizeof text); }
    bool is(const char* name) const { return strcmp(text, name) == 0; }
};

// Only SDL's dummy driver may draw off-screen: any other driver without an X11 window
// (a frame buffer, a text terminal) would show nothing of the game.
bool offscreen_allowed() {
    const DriverName driver;
    if (driver.is("dummy")) return true;
    char text[96];
    snprintf(text, sizeof text, "the video driver %s gives no X11 window", driver.text);
    SDL_SetError("%s", text);
    return false;
}

// SDL's X11 window, if the video driver has one.
bool find_x11_window() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) return false;
    bridge.x_display = info.info.x11.display;
    bridge.x_window = info.info.x11.window;
    bridge.x_fullscreen = info.info.x11.fswindow;
    return true;
}

// On an expose SDL paints its own copy of the window's pixels, black since the game draws
// with GL, over the picture, and tells the game nothing. So SDL hears of no expose; the
// bridge's own connection hears of exposes and of every change of the window's size, place,
// parent or visibility, and of the screen's size, for the game to draw again.
void watch_window() {
    bridge.watch = XOpenDisplay(DisplayString(bridge.x_display));
    if (!bridge.watch) return;  // then SDL keeps its exposes, as before
    XSelectInput(bridge.watch, bridge.x_window,
                 ExposureMask | StructureNotifyMask | VisibilityChangeMask);
    XSelectInput(bridge.watch, DefaultRootWindow(bridge.watch), StructureNotifyMask);
    XFlush(bridge.watch);
    XWindowAttributes sdl_selects;
    if (XGetWindowAttributes(bridge.x_display, bridge.x_window, &sdl_selects))
        XSelectInput(bridge.x_display, bridge.x_window,
                     sdl_selects.your_event_mask & ~ExposureMask);
    XFlush(bridge.x_display);
}

// Nothing from the server on the watching connection, found with one system call: the
// usual answer, frame after frame, and cheaper than asking Xlib.
bool watch_quiet() {
    if (XQLength(bridge.watch) > 0) return false;
    pollfd connection = {ConnectionNumber(bridge.watch), POLLIN, 0};
    return poll(&connection, 1, 0) <= 0;
}

// A full-screen window follows the screen's new size; a managed one is left to the manager.
void fit_fullscreen(int width, int height) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(bridge.watch, bridge.x_window, &root, &parent, &children, &count)) return;
    XFree(children);
    if (parent != bridge.x_fullscreen) return;
    const auto w = static_cast<unsigned>(width), h = static_cast<unsigned>(height);
    XMoveResizeWindow(bridge.watch, bridge.x_fullscreen, 0, 0, w, h);
    XResizeWindow(bridge.watch, bridge.x_window, w, h);
    XSync(bridge.watch, False);
}

// EGL's display for SDL's X11 window, or (dummy driver only) a surfaceless one;
// EGL_NO_DISPLAY, with SDL's error set, when there is none.
EGLDisplay open_display() {
    if (find_x11_window()) {
        watch_window();
        EGLDisplay display =
            eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(bridge.x_display));
        if (display == EGL_NO_DISPLAY) set_egl_error("eglGetDisplay");
        return display;
    }
    if (!offscreen_allowed()) return EGL_NO_DISPLAY;
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display) {
        SDL_SetError("EGL offers no eglGetPlatformDisplayEXT for an off-screen display");
        return EGL_NO_DISPLAY;
    }
    EGLDisplay display =
        get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) set_egl_error("eglGetPlatformDisplayEXT");
    return display;
}

VisualID window_visual() {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(bridge.x_display, bridge.x_window, &attributes)) return 0;
    return XVisualIDFromVisual(attributes.visual);
}

// A GL ES 1.x config for the target surface; for a window, one whose visual matches it.
EGLConfig choose_config() {
    const EGLint surface_type = bridge.x_window ? EGL_WINDOW_BIT : EGL_PBUFFER_BIT;
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_ES_BIT,
                             EGL_SURFACE_TYPE,
                             surface_type,
                             EGL_RED_SIZE,
                             RED_BITS,
                             EGL_GREEN_SIZE,
                             GREEN_BITS,
                             EGL_BLUE_SIZE,
                             BLUE_BITS,
                             EGL_DEPTH_SIZE,
                             bridge.attrs[SDL_GLES_DEPTH_SIZE],
                             EGL_STENCIL_SIZE,
                             bridge.attrs[SDL_GLES_STENCIL_SIZE],
                             EGL_NONE};
    constexpr int MAX_CONFIGS = 64;
    EGLConfig configs[MAX_CONFIGS];
    EGLint count = 0;
    if (!eglChooseConfig(bridge.display, wanted, configs, MAX_CONFIGS, &count)) {
        set_egl_error("eglChooseConfig");
        return nullptr;
    }
    if (count == 0) {
        SDL_SetError("EGL has no OpenGL ES config for this surface");
        return nullptr;
    }
    if (!bridge.x_window) return configs[0];
    const VisualID visual = window_visual();
    for (EGLint i = 0; i < count; i++) {
        EGLint id = 0;
        eglGetConfigAttrib(bridge.display, configs[i], EGL_NATIVE_VISUAL_ID, &id);
        if (static_cast<VisualID>(id) == visual) return configs[i];
    }
    return configs[0];
}

EGLSurface create_surface(EGLConfig config) {
    if (bridge.x_window)
        return eglCreateWindowSurface(bridge.display, config,
                                      static_cast<EGLNativeWindowType>(bridge.x_window), nullptr);
    const EGLint size[] = {EGL_WIDTH, OFFSCREEN_WIDTH, EGL_HEIGHT, OFFSCREEN_HEIGHT, EGL_NONE};
    return eglCreatePbufferSurface(bridge.display, config, size);
}

}  // namespace

int SDL_GLES_VideoModeFlags() { return 0; }

void SDL_GLES_VideoModeSize(int* width, int* height) {
    const bool dummy = DriverName().is("dummy");
    *width = dummy ? OFFSCREEN_WIDTH : 0;
    *height = dummy ? OFFSCREEN_HEIGHT : 0;
}

// A driver the user named is left to SDL_GLES_Init.
int SDL_GLES_DriverUsable() {
    if (getenv("SDL_VIDEODRIVER") || DriverName().is("x11")) return 1;
    const char* display = getenv("DISPLAY");
    if (!display || !*display)
        SDL_SetError("no X display: DISPLAY is not set");
    else
        SDL_SetError("cannot open the X display %s", display);
    return 0;
}

int SDL_GLES_Init(SDL_GLES_Version version) {
    if (version != SDL_GLES_VERSION_1_1) {
        SDL_SetError("OpenGL ES 1.1 is the only version offered");
        return -1;
    }
    bridge.display = open_display();
    if (bridge.display == EGL_NO_DISPLAY) return -1;
    if (!eglInitialize(bridge.display, nullptr, nullptr)) {
        set_egl_error("eglInitialize");
        return -1;
    }
    if (!eglBindAPI(EGL_OPENGL_ES_API)) {
        set_egl_error("eglBindAPI");
        return -1;
    }
    return 0;
}

int SDL_GLES_SetAttribute(SDL_GLES_Attr attr, int value) {
    if (attr < 0 || attr >= SDL_GLES_NUM_ATTRS) return -1;
    bridge.attrs[attr] = value;
    return 0;
}

SDL_GLES_Context* SDL_GLES_CreateContext() {
    if (bridge.display == EGL_NO_DISPLAY) {
        SDL_SetError("the GL ES bridge is not initialised");
        return nullptr;
    }
    EGLConfig config = choose_config();
    if (!config) return nullptr;
    const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    EGLContext context = eglCreateContext(bridge.display, config, EGL_NO_CONTEXT, version);
    if (context == EGL_NO_CONTEXT) {
        set_egl_error("eglCreateContext");
        return nullptr;
    }
    bridge.surface = create_surface(config);
    if (bridge.surface == EGL_NO_SURFACE) {
        set_egl_error(bridge.x_window ? "eglCreateWindowSurface" : "eglCreatePbufferSurface");
        eglDestroyContext(bridge.display, context);
        return nullptr;
    }
    return context;
}

int SDL_GLES_MakeCurrent(SDL_GLES_Context* context) {
    if (eglMakeCurrent(bridge.display, bridge.surface, bridge.surface, context)) return 0;
    set_egl_error("eglMakeCurrent");
    return -1;
}

void SDL_GLES_SwapBuffers() {
    // An off-screen buffer is never presented, so the renderer would keep queueing every
    // frame's drawing; a flush hands each frame over and keeps headless runs' memory bounded.
    if (!bridge.x_window) glFlush();
    eglSwapBuffers(bridge.display, bridge.surface);
}

void SDL_GLES_DeleteContext(SDL_GLES_Context* context) {
    if (bridge.display == EGL_NO_DISPLAY || !context) return;
    eglMakeCurrent(bridge.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(bridge.display, context);
    if (bridge.surface != EGL_NO_SURFACE) eglDestroySurface(bridge.display, bridge.surface);
    bridge.surface = EGL_NO_SURFACE;
}

int SDL_GLES_WindowSpoiled(int* width, int* height) {
    if (!bridge.watch || watch_quiet()) return 0;
    bool spoiled = false;
    while (XPending(bridge.watch)) {
        XEvent e;
        XNextEvent(bridge.watch, &e);
        const bool screen = e.type == ConfigureNotify && e.xconfigure.window != bridge.x_window;
        if (screen) fit_fullscreen(e.xconfigure.width, e.xconfigure.height);
        spoiled = true;
    }
    XWindowAttributes now;
    if (!spoiled || !XGetWindowAttributes(bridge.watch, bridge.x_window, &now)) return 0;
    // Events read from the socket while awaiting the reply wait in Xlib's queue, where the
    // next frame's quiet check sees them.
    XPending(bridge.watch);
    *width = now.width;
    *height = now.height;
    return 1;
}

void SDL_GLES_Quit() {
    if (bridge.display != EGL_NO_DISPLAY) eglTerminate(bridge.display);
    if (bridge.watch) XCloseDisplay(bridge.watch);
    bridge = Bridge{};
}
