#pragma once

// What the crash writer writes, so that the kill test knows what to look for.

#include <QString>
#include <string>

namespace crash {

inline const char* kTable = "ADD0001.DBF";
inline const char* kLayout = "BIN00001.L";
inline const char* kIni = "QUILLO.ini";
inline const QString kIniValueA = QStringLiteral("Version A");
inline const QString kIniValueB = QStringLiteral("Version B of the setting, longer than A");

inline std::string lname(uint32_t n) { return "L" + std::to_string(n * 2654435761u % 1000003u) + "-" + std::to_string(n); }
inline std::string city(uint32_t n) { return "City " + std::to_string(n % 97); }
inline std::string replacedLname(uint32_t r, uint32_t i) { return "R" + std::to_string(r) + "-" + std::to_string(i); }
// Memos that grow and shrink, so they are rewritten in place, moved to the end and emptied.
inline std::string memoText(uint32_t i) {
    const size_t length = (i * 389u) % 3000u;
    std::string text;
    while (text.size() < length) text += "memo " + std::to_string(i) + " ";
    return text.substr(0, length);
}

}  // namespace crash
