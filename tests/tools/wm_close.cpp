// Asks every top-level window with the given name to close, as a window manager's close
// button does (WM_DELETE_WINDOW); exits 1 when no such window exists.
#include <X11/Xlib.h>

#include <cstring>

int main(int argc, char** argv) {
    Display* dpy = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
    if (!dpy) return 2;
    Window root = DefaultRootWindow(dpy), parent = 0, *children = nullptr;
    unsigned count = 0;
    int closed = 0;
    XQueryTree(dpy, root, &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; i++) {
        char* name = nullptr;
        if (XFetchName(dpy, children[i], &name) && strcmp(name, argv[1]) == 0) {
            XEvent ev{};
            ev.xclient = {ClientMessage, 0, True, dpy, children[i],
                          XInternAtom(dpy, "WM_PROTOCOLS", False), 32, {}};
            ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            XSendEvent(dpy, children[i], False, NoEventMask, &ev);
            closed++;
        }
        XFree(name);
    }
    XFree(children);
    XCloseDisplay(dpy);
    return closed ? 0 : 1;
}
