// Preloaded into a program by the benchmark: stamps the moment its first eglSwapBuffers
// returns, the first frame handed to the display, without changing what the program does.
#include <EGL/egl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using SwapBuffers = EGLBoolean (*)(EGLDisplay, EGLSurface);

long long nanoseconds(timespec t) { return t.tv_sec * 1000000000LL + t.tv_nsec; }

// Appends to the file the benchmark names the monotonic time and the CPU time the process
// (all its threads) has used, in nanoseconds; the process then ends at once when the benchmark
// asks for nothing but its start-up.
void stamp_first_frame() {
    timespec now{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const char* path = getenv("QUORVEL_BENCH_STAMP");
    if (!path) return;
    char line[64];
    const int len = snprintf(line, sizeof line, "%lld %lld\n", nanoseconds(now), nanoseconds(cpu));
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return;
    if (write(fd, line, static_cast<size_t>(len)) != len) perror("first_frame");
    close(fd);
    if (getenv("QUORVEL_BENCH_EXIT")) _exit(0);
}

}  // namespace

extern "C" EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface) {
    static const auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
    static bool stamped = false;
    const EGLBoolean presented = real(display, surface);
    if (!stamped) {
        stamped = true;
        stamp_first_frame();
    }
    return presented;
}
