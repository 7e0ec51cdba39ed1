#pragma once

#include "Messages.h"

// The route of the windows: every notice and question of a window goes through
// WindowMessages(). It shows a message box owned by the active modal window (else the
// active window), unless a test has put a route of its own in place.
Messages& WindowMessages();

// Puts `route` in place of the message boxes (tests); nullptr puts the boxes back.
// Returns the route that was in place before (nullptr: the boxes).
Messages* SetWindowMessages(Messages* route);
