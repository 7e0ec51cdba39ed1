#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"

// Runs the real quillory binary as a script would, with `dir` as its home, and
// collects its output and exit code.
struct QuilloryResult {
    int exitCode;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command; its standard output and error, together.
inline std::string runCommand(const std::string& command, int* exitCode = nullptr) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    const int status = pclose(p);
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// With `seconds`, a command that would wait for ever is ended then and exits 124.
inline QuilloryResult runQuillory(const std::vector<std::string>& args, const TempDir& dir, int seconds = 0) {
    std::string cmd = (seconds > 0 ? "timeout " + std::to_string(seconds) + " " : std::string()) +
                      std::string(QUILLORY_BINARY) + " --home " + shellQuote(dir.path());
    for (const std::string& a : args) cmd += " " + shellQuote(a);
    cmd += " 2>" + shellQuote(dir.file("stderr.txt"));
    QuilloryResult r;
    FILE* p = popen(cmd.c_str(), "r");
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    FILE* e = fopen(dir.file("stderr.txt").c_str(), "r");
    while (e && (n = fread(buf.data(), 1, buf.size(), e)) > 0) r.err.append(buf.data(), n);
    if (e) fclose(e);
    return r;
}
