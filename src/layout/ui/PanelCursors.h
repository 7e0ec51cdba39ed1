#pragma once

#include <QCursor>

// The design panel's own cursors: a grabbing hand over a selection and a pointing hand
// over objects and while a selection rectangle is drawn.
namespace layoutui {
const QCursor& HandGrabCursor();
const QCursor& HandPointCursor();
}  // namespace layoutui
