// Scratch folders and whole files, for tests of the game's file readers and writers.
#include "files.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/quorvelXXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(dir_); }

std::string ScratchFolder::write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
    return file(name);
}

std::string read_file(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> odd_files(const ScratchFolder& dir) {
    const std::string pipe = dir.file("pipe"), zero = dir.file("zero"), folder = dir.file("dir");
    EXPECT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    EXPECT_EQ(mkdir(folder.c_str(), 0700), 0);
    return {pipe, zero, folder};
}

std::string huge_file(const ScratchFolder& dir, const std::string& name) {
    const std::string path = dir.write(name, "");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    return path;
}

testing::AssertionResult one_error(const std::string& out, const std::string& name) {
    if (out.rfind("ERROR: ", 0) == 0 && out.find(name) != out.npos &&
        out.find('\n') + 1 == out.size())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "printed: " << out;
}
