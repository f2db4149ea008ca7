// Scratch folders, whole files and printed lines, for tests of the game's file readers; child
// processes and X servers that end with the test.
#pragma once

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A fresh folder with a short path, removed with all it holds when the object goes.
class ScratchFolder {
   public:
    ScratchFolder() {
        char pattern[] = "/tmp/quorvelXXXXXX";
        EXPECT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(dir_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return dir_; }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }
    // Writes `text` to `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::binary) << text;
        return file(name);
    }

   private:
    std::string dir_;
};

inline std::string read_file(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// No data file: a named pipe with no writer, a link to /dev/zero, a folder, all in `dir`.
inline std::vector<std::string> odd_files(const ScratchFolder& dir) {
    EXPECT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(symlink("/dev/zero", dir.file("zero").c_str()), 0);
    EXPECT_EQ(mkdir(dir.file("dir").c_str(), 0700), 0);
    return {dir.file("pipe"), dir.file("zero"), dir.file("dir")};
}

// `name` in `dir` made 1 GiB of zero bytes that take no room on disk.
inline std::string huge_file(const ScratchFolder& dir, const std::string& name) {
    const std::string path = dir.write(name, "");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    return path;
}

template <typename F>
std::string printed(F action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// Whether `out` is exactly one "ERROR: " line naming `name`.
inline testing::AssertionResult one_error(const std::string& out, const std::string& name) {
    if (out.rfind("ERROR: ", 0) == 0 && out.find(name) != out.npos &&
        out.find('\n') + 1 == out.size())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "printed: " << out;
}

// The files this process has open.
inline int open_files() {
    return int(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// The heap bytes `times` runs of `action` leave in use; none under the sanitizers, whose
// allocator is their own and which check leaks themselves.
template <typename F>
size_t heap_kept(int times, F action) {
    const size_t before = mallinfo2().uordblks;
    for (int n = 0; n < times; n++) action();
    const size_t after = mallinfo2().uordblks;
    return after > before ? after - before : 0;
}

constexpr unsigned CHILD_DEADLINE_S = 30;  // a child process still running then is hung

// A child process that a fault cannot leave running: it ends with the test or at its deadline.
inline pid_t fork_child() {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    alarm(CHILD_DEADLINE_S);
    return 0;
}

// An Xvfb server of the game's size, of `depth` bits, on a display number it picks itself,
// named in DISPLAY for SDL. No reset when SDL's probe disconnects: a connection made during
// one is refused.
class XServer {
    pid_t pid_ = -1;

   public:
    explicit XServer(int depth) {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        const std::string fd = std::to_string(ready[1]), size = "800x480x" + std::to_string(depth);
        if ((pid_ = fork_child()) == 0) {
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(),
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // The whole line: Xvfb ends if the pipe closes before it has written its newline.
        std::string display = ":";
        for (char c = 0; read(ready[0], &c, 1) == 1 && c != '\n';) display += c;
        close(ready[0]);
        EXPECT_GT(display.size(), 1u) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");
    }
    ~XServer() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
};
