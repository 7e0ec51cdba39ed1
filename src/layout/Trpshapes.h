#pragma once

#include "TGLabelShapes.h"

// The shapes of report bands: the same as TGLabelShapes under their own class name.
class Trpshapes : public TGLabelShapes {
  public:
    const char* ClassName() const override { return "Trpshapes"; }
};
