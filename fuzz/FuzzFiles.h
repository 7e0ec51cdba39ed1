#pragma once

// What the fuzz targets share: a private folder per process for the files a target
// writes its input into, since the readers under test take paths.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

inline const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/quillory-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

inline std::string PathOf(const std::string& name) { return Folder() + "/" + name; }

// Replaces the file `name` in the folder with `size` bytes; an empty input leaves no file.
inline std::string WriteFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = PathOf(name);
    std::remove(path.c_str());
    if (size == 0) return path;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

// Splits an input at a length taken from its first two bytes: the first part, then
// the rest. Lets one input carry a table and its memo file.
inline void Split(const uint8_t* data, size_t size, const uint8_t** a, size_t* aSize, const uint8_t** b,
                  size_t* bSize) {
    if (size < 2) {
        *a = data, *aSize = size, *b = data + size, *bSize = 0;
        return;
    }
    const size_t first = std::min(size - 2, size_t(data[0] | (data[1] << 8)));
    *a = data + 2, *aSize = first, *b = data + 2 + first, *bSize = size - 2 - first;
}

}  // namespace fuzz
