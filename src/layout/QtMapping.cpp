#include "QtMapping.h"

namespace layout {

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
    switch (style) {
        case psSolid:
            return Qt::SolidLine;
        case psDash:
            return Qt::DashLine;
        case psDot:
            return Qt::DotLine;
        case psDashDot:
            return Qt::DashDotLine;
        case psDashDotDot:
            return Qt::DashDotDotLine;
        case psClear:
            return Qt::NoPen;
        case psInsideFrame:
            return Qt::SolidLine;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle style) {
    switch (style) {
        case bsSolid:
            return Qt::SolidPattern;
        case bsClear:
            return Qt::NoBrush;
        case bsHorizontal:
            return Qt::HorPattern;
        case bsVertical:
            return Qt::VerPattern;
        case bsFDiagonal:
            return Qt::FDiagPattern;
        case bsBDiagonal:
            return Qt::BDiagPattern;
        case bsCross:
            return Qt::CrossPattern;
        case bsDiagCross:
            return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

PenSpec::Mode ToPrintPenMode(TPenMode mode) {
    switch (mode) {
        case pmXor:
            return PenSpec::Mode::Xor;
        case pmNotXor:
            return PenSpec::Mode::NotXor;
        case pmNot:
            return PenSpec::Mode::Not;
        default:
            return PenSpec::Mode::Copy;
    }
}

}  // namespace layout
