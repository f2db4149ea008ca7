// Scratch folders and whole files, for tests of the game's file readers and writers.
#pragma once

#include <string>

// A fresh folder, removed with all it holds when the object goes. Its path is short, so a
// file name in it fits the 31 characters a font description keeps of a strip's name.
class ScratchFolder {
   public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return dir_; }
    // The path of `name` in the folder.
    std::string file(const std::string& name) const { return dir_ + "/" + name; }
    // Writes `text` to `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& text) const;

   private:
    std::string dir_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
