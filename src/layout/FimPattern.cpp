#include "FimPattern.h"

namespace layout::fim {

std::vector<int> BarSlots(TFIMBarCodeType type) {
    static const char* const kPositions[3] = {"110010011", "101101101", "110101011"};
    std::vector<int> result;
    const char* p = kPositions[type >= fimTypeA && type <= fimTypeC ? type : fimTypeA];
    for (int k = 1; k <= 9; ++k)
        if (p[k - 1] == '1') result.push_back(2 * k - 1);
    return result;
}

}  // namespace layout::fim
