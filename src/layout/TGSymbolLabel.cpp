#include "TGSymbolLabel.h"

#include <QFontMetrics>

TGSymbolLabel::TGSymbolLabel() {
    SetFont(LayoutFont::Make("WingDings", 24));
    SetCaption("[");
}

void TGSymbolLabel::SizeToCharacter() {
    const QFontMetrics fm(ScreenFont());
    SetSizeSilently(int(1.1 * fm.horizontalAdvance(Caption())), int(1.1 * fm.height()));
    MarkForMeasuring();
}

void TGSymbolLabel::BoundsChanged() {
    TGBaseLabel::BoundsChanged();
    if (!Loading()) SizeToCharacter();
}
