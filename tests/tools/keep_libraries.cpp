// Preloaded into the game for its leak check: keeps every shared library loaded until the
// process ends. EGL unloads the GL driver at exit, and LeakSanitizer then takes the
// driver's own allocations for leaks it can name no library for; loaded, they stay
// reachable from the driver's globals, as they were while the game ran.
extern "C" int dlclose(void* /*handle*/) { return 0; }
