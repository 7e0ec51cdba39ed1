#pragma once

#include "ObjectDialogs.h"

// The object dialogs as the designers show them: each call opens the real modal
// dialog over `parent` and, on OK, applies what it gathered to the object.
class StandardObjectDialogs : public ObjectDialogs {
  public:
    bool edit(ObjectDialog which, TGGraphicControl& object, QWidget* parent) override;
    bool chooseFont(LayoutFont& font, QWidget* parent) override;
    bool chooseColor(QColor& color, QWidget* parent) override;
};
