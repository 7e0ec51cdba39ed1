#pragma once

#include "TGBaseLabel.h"

// One character of a symbol font. It sizes itself to its character.
class TGSymbolLabel : public TGBaseLabel {
  public:
    TGSymbolLabel();
    const char* ClassName() const override { return "TGSymbolLabel"; }

    // 1.1 × the character's width and height in the zoomed font, truncated.
    void SizeToCharacter();

    void BoundsChanged() override;
    // The panel's "Font" command leaves symbols alone.
    void ApplyFont(const LayoutFont&) override {}
};
