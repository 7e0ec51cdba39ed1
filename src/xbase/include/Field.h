#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace xbase {

// One column of a table as the engine sees it. Offsets count the deletion byte,
// so the first field of every table starts at offset 1.
struct FieldDef {
    std::string name;  // as stored, upper case, at most 10 characters
    char type = 'C';   // C N F L D M, or one of Visual FoxPro's I T Y B G P W V Q 0
    uint16_t width = 0;
    uint8_t decimals = 0;
    uint32_t offset = 0;         // of the field inside the record
    bool binaryMemoRef = false;  // memo pointer is a 4-byte integer (Visual FoxPro), not 10 digits

    bool isMemo() const { return type == 'M' || type == 'G' || type == 'P'; }
};

// The fields of a table in record order, with a case-insensitive name lookup.
class RecordLayout {
public:
    RecordLayout() = default;
    explicit RecordLayout(std::vector<FieldDef> fields);

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const FieldDef& field(int index) const { return fields_[static_cast<size_t>(index)]; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    // Bytes per record, deletion byte included.
    uint32_t recordLength() const { return recordLength_; }
    // Index of the field called `name` in any letter case, or -1.
    int fieldIndex(std::string_view name) const;

private:
    std::vector<FieldDef> fields_;
    std::unordered_map<std::string, int> byName_;  // upper-case name -> index
    uint32_t recordLength_ = 1;
};

// ASCII upper-casing of names (fields, tags). Text in a table is upper-cased by the
// rules of its CodePage.
std::string asciiUpper(std::string_view text);

}  // namespace xbase
