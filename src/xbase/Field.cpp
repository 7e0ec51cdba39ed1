#include "Field.h"

namespace xbase {

RecordLayout::RecordLayout(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
    uint32_t offset = 1;
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i].offset = offset;
        offset += fields_[i].width;
        byName_.emplace(asciiUpper(fields_[i].name), static_cast<int>(i));
    }
    recordLength_ = offset;
}

int RecordLayout::fieldIndex(std::string_view name) const {
    auto it = byName_.find(asciiUpper(name));
    return it == byName_.end() ? -1 : it->second;
}

std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace xbase
