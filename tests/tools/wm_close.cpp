// Asks every top-level window with the given name to close, as a window manager's close
// button does (WM_DELETE_WINDOW); exits 1 when no such window exists.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

static int close_named(Display* dpy, Window root, const char* name) {
    Window parent, *children = nullptr;
    unsigned count = 0;
    int closed = 0;
    if (!XQueryTree(dpy, root, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count; i++) {
        char* window_name = nullptr;
        if (XFetchName(dpy, children[i], &window_name) && window_name &&
            strcmp(window_name, name) == 0) {
            XEvent ev{};
            ev.xclient.type = ClientMessage;
            ev.xclient.window = children[i];
            ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
            ev.xclient.format = 32;
            ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            ev.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, children[i], False, NoEventMask, &ev);
            closed++;
        }
        if (window_name) XFree(window_name);
    }
    if (children) XFree(children);
    return closed;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wm_close WINDOW_NAME\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 2;
    const int closed = close_named(dpy, DefaultRootWindow(dpy), argv[1]);
    XCloseDisplay(dpy);
    return closed ? 0 : 1;
}
