#include "TableFiles.h"

#include <cctype>
#include <vector>

namespace xbase {

namespace {

std::string fileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string baseName(const std::string& path) {
    const std::string name = fileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// How well the file `companion` is named for the table `table`: 2 exactly as
// withExtension() names it, 1 with the same base name, 0 with a base name that differs
// in letter case only.
int claim(const std::string& table, const std::string& companion, const char* upper, const char* lower) {
    if (fileName(companion) == fileName(withExtension(table, upper, lower))) return 2;
    return baseName(companion) == baseName(table) ? 1 : 0;
}

}  // namespace

std::string withExtension(const std::string& path, const char* upper, const char* lower) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExt ? path.substr(0, dot) : path;
    const bool lowerCase = hasExt && dot + 1 < path.size() && std::islower(static_cast<unsigned char>(path[dot + 1]));
    return base + "." + (lowerCase ? lower : upper);
}

std::string findCompanion(FileSystem& fs, const std::string& tablePath, const char* upper, const char* lower,
                          bool otherCase) {
    const std::string expected = withExtension(tablePath, upper, lower);
    const std::vector<std::string> candidates = fs.findAllIgnoringCase(expected);
    if (candidates.empty()) return std::string();
    // The other tables of the same name in another letter case.
    std::vector<std::string> others;
    for (const std::string& t : fs.findAllIgnoringCase(tablePath)) {
        if (fileName(t) != fileName(tablePath)) others.push_back(t);
    }
    std::string best;
    int bestClaim = -1;
    for (const std::string& c : candidates) {
        const int mine = claim(tablePath, c, upper, lower);
        if (mine <= bestClaim || (mine < 2 && !otherCase)) continue;
        bool contested = false;
        for (const std::string& t : others) contested |= claim(t, c, upper, lower) >= mine;
        if (contested) continue;
        best = c;
        bestClaim = mine;
    }
    return best;
}

}  // namespace xbase
