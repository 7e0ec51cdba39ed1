#include "AsciiLine.h"

namespace AsciiLine {

std::vector<std::string> Split(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (i > 0 && line[i - 1] == '"') {
                const bool atEnd = i + 1 == line.size() || line[i + 1] == ',';
                if (quoted && atEnd) quoted = false;
            } else {
                quoted = !quoted;
            }
            field.push_back(c);
        } else if (c == ',' && !quoted) {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    fields.push_back(std::move(field));
    for (std::string& f : fields) {
        if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
    }
    return fields;
}

}  // namespace AsciiLine
