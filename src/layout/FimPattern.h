#pragma once

#include <vector>

#include "LayoutEnums.h"

// Facing identification marks: nine bar positions 1/16 inch apart, each bar 1/32 inch
// wide; counted in 1/32-inch slots from the left, position k is slot 2k − 1.
namespace layout::fim {

constexpr double kSlotWidth = 0.03125;
constexpr double kBarHeight = 0.5625;
constexpr double kObjectWidth = 0.625;  // the object is square on screen

// The slots (1 to 17) that hold a bar, left to right.
std::vector<int> BarSlots(TFIMBarCodeType type);

}  // namespace layout::fim
