// A scratch copy of the build's data/ folder for tests that swap one file for a marker or a
// damaged version: every file is linked from the build's data/, the test replaces what it
// needs, and scenes loaded while the scratch folder is the working directory read from it.
// The working directory and the folder are restored and removed when it goes out of scope.
//
//   ScratchData data;  data.writePng("greet1.png", marker, 1920, 820);
//   data.enter(); scene.load(); data.leave();
#pragma once

#include <lodepng.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

class ScratchData {
public:
    ScratchData() : build(std::filesystem::current_path()) {
        char pattern[] = "/tmp/qvl_scratch_data_XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        std::filesystem::create_directory(root / "data");
        for (const auto& entry : std::filesystem::directory_iterator(build / "data"))
            std::filesystem::create_symlink(entry.path(), root / "data" / entry.path().filename());
    }
    ~ScratchData() {
        if (chdir(build.c_str()) != 0) {}  // best effort: a destructor must not throw
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    ScratchData(const ScratchData&) = delete;
    ScratchData& operator=(const ScratchData&) = delete;

    // `name` is a file of data/, bare ("greet1.png") or as the scenes name it ("data/greet1.png").
    void writeFile(const std::string& name, const std::string& bytes) {
        std::filesystem::remove(inData(name));
        std::ofstream(inData(name), std::ios::binary) << bytes;
    }
    void writePng(const std::string& name, const std::vector<unsigned char>& rgba, unsigned width, unsigned height) {
        std::filesystem::remove(inData(name));
        if (lodepng::encode(inData(name).string(), rgba, width, height) != 0) throw std::runtime_error("cannot write " + name);
    }
    void remove(const std::string& name) { std::filesystem::remove(inData(name)); }
    void enter() {
        if (chdir(root.c_str()) != 0) throw std::runtime_error("cannot enter " + root.string());
    }
    void leave() {
        if (chdir(build.c_str()) != 0) throw std::runtime_error("cannot return to " + build.string());
    }

private:
    std::filesystem::path inData(const std::string& name) const {
        return root / "data" / std::filesystem::path(name).filename();
    }

    std::filesystem::path build;
    std::filesystem::path root;
};
