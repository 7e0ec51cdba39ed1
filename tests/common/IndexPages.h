#pragma once

// Finds the pages of one tag in the bytes of a compact index file, so that tests can
// damage them: the tag's header from the tag directory, its root, and its leaves in
// order. Assumes a sound file.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace indexpages {

inline uint32_t u32(const std::string& b, size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
inline uint16_t u16(const std::string& b, size_t at) {
    uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}
inline void put32(std::string& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }
inline void put16(std::string& b, size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); }
inline uint32_t be32(const std::string& b, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
inline void putBe32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (24 - 8 * i));
}

// The entries (key, record) of the leaf page at `page`.
inline std::vector<std::pair<std::string, uint32_t>> leafEntries(const std::string& b, uint32_t page,
                                                                 size_t keyLength, char pad) {
    const uint32_t recMask = u32(b, page + 14);
    const int recBits = uint8_t(b[page + 20]), dupBits = uint8_t(b[page + 21]);
    const int bytes = uint8_t(b[page + 23]);
    std::vector<std::pair<std::string, uint32_t>> out;
    std::string prev(keyLength, pad);
    size_t pool = page + 512;
    for (size_t i = 0; i < u16(b, page + 2); ++i) {
        uint64_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= uint64_t(uint8_t(b[page + 24 + i * size_t(bytes) + size_t(k)])) << (8 * k);
        const size_t dup = size_t((v >> recBits) & ((1u << dupBits) - 1));
        const size_t trail = size_t(v >> (recBits + dupBits)) & ((1u << uint8_t(b[page + 22])) - 1);
        const size_t stored = keyLength - dup - trail;
        pool -= stored;
        std::string key = prev.substr(0, dup) + b.substr(pool, stored) + std::string(trail, pad);
        out.emplace_back(key, uint32_t(v & recMask));
        prev = key;
    }
    return out;
}

struct TagPages {
    uint32_t header = 0;
    uint32_t root = 0;
    size_t keyLength = 0;
    std::vector<uint32_t> leaves;  // first to last
};

// The pages of the tag `name` (upper case) of a CDX; of the one order of an IDX when
// `name` is empty.
inline TagPages tagPages(const std::string& b, const std::string& name) {
    TagPages t;
    if (!name.empty()) {
        std::string dirKey = name;
        dirKey.resize(10, ' ');
        uint32_t page = u32(b, 0);
        while (!(u16(b, page) & 2)) page = be32(b, page + 12 + 10 + 4);  // the directory's first leaf
        for (; page != 0xFFFFFFFFu && t.header == 0; page = u32(b, page + 8)) {
            for (const auto& [key, rec] : leafEntries(b, page, 10, ' ')) {
                if (key == dirKey) t.header = rec;
            }
        }
    }
    t.root = u32(b, t.header);
    t.keyLength = u16(b, t.header + 12);
    uint32_t page = t.root;
    while (!(u16(b, page) & 2)) page = be32(b, page + 12 + t.keyLength + 4);
    for (; page != 0xFFFFFFFFu; page = u32(b, page + 8)) t.leaves.push_back(page);
    return t;
}

}  // namespace indexpages
