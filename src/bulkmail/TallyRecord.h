#pragma once

#include <string>

// A key with the number of records that share it: a ZIP key of the presort or the ZIP
// count. Keys are bytes in the address file's code page and compare byte-wise.
struct TallyRecord {
    std::string key;
    int count = 0;
};
