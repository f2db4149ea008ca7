// The SDL OpenGL ES bridge on EGL: a window surface on SDL's X11 window when there is one,
// otherwise a surfaceless off-screen buffer of the game's nominal size.
#include "sdl_gles.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

constexpr EGLint OFFSCREEN_WIDTH = 800;
constexpr EGLint OFFSCREEN_HEIGHT = 480;

struct Bridge {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    Display* x_display = nullptr;  // SDL's connection; null without a window
    Window x_window = 0;
    int attrs[SDL_GLES_NUM_ATTRS] = {0, 0};
};

Bridge bridge;

// SDL's X11 window, if the video driver has one.
bool find_x11_window(Display** dpy, Window* win) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) return false;
    *dpy = info.info.x11.display;
    *win = info.info.x11.window;
    return true;
}

EGLDisplay open_display() {
    if (find_x11_window(&bridge.x_display, &bridge.x_window))
        return eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(bridge.x_display));
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display) return EGL_NO_DISPLAY;
    return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
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
                             5,
                             EGL_GREEN_SIZE,
                             6,
                             EGL_BLUE_SIZE,
                             5,
                             EGL_DEPTH_SIZE,
                             bridge.attrs[SDL_GLES_DEPTH_SIZE],
                             EGL_STENCIL_SIZE,
                             bridge.attrs[SDL_GLES_STENCIL_SIZE],
                             EGL_NONE};
    constexpr int MAX_CONFIGS = 64;
    EGLConfig configs[MAX_CONFIGS];
    EGLint count = 0;
    if (!eglChooseConfig(bridge.display, wanted, configs, MAX_CONFIGS, &count) || count == 0)
        return nullptr;
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

int SDL_GLES_Init(SDL_GLES_Version version) {
    if (version != SDL_GLES_VERSION_1_1) return -1;
    bridge.display = open_display();
    if (bridge.display == EGL_NO_DISPLAY || !eglInitialize(bridge.display, nullptr, nullptr)) {
        SDL_SetError("EGL: no usable display");
        return -1;
    }
    return eglBindAPI(EGL_OPENGL_ES_API) ? 0 : -1;
}

int SDL_GLES_SetAttribute(SDL_GLES_Attr attr, int value) {
    if (attr < 0 || attr >= SDL_GLES_NUM_ATTRS) return -1;
    bridge.attrs[attr] = value;
    return 0;
}

SDL_GLES_Context* SDL_GLES_CreateContext() {
    if (bridge.display == EGL_NO_DISPLAY) return nullptr;
    EGLConfig config = choose_config();
    if (!config) return nullptr;
    const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    EGLContext context = eglCreateContext(bridge.display, config, EGL_NO_CONTEXT, version);
    if (context == EGL_NO_CONTEXT) return nullptr;
    bridge.surface = create_surface(config);
    if (bridge.surface == EGL_NO_SURFACE) {
        eglDestroyContext(bridge.display, context);
        return nullptr;
    }
    return context;
}

int SDL_GLES_MakeCurrent(SDL_GLES_Context* context) {
    return eglMakeCurrent(bridge.display, bridge.surface, bridge.surface, context) ? 0 : -1;
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

void SDL_GLES_Quit() {
    if (bridge.display != EGL_NO_DISPLAY) eglTerminate(bridge.display);
    bridge = Bridge{};
}
