#pragma once

class AppHome;

// What the desktop program sets up before its main window opens: the application's
// font, F1 and "What's this?", the Alt+letter of every control, and the designers'
// clipboard file in the home. The program and the window tests that start the main
// window call it alike.
void SetUpDesktop(const AppHome& home);
