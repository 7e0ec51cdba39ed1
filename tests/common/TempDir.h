#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with its contents
// when the object goes.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "quillory-test-XXXXXX").string();
        path_ = mkdtemp(&tmpl[0]) ? tmpl : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
