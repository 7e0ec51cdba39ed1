#pragma once

#include <QStringList>

#include "Messages.h"

// A message route for tests of logic without windows: every notice and question is
// noted in order, and questions are answered Yes.
class NoteMessages : public Messages {
  public:
    void inform(const QString& text, const QString&) override { notes << text; }
    void warn(const QString& text, const QString&) override { notes << text; }
    void error(const QString& text, const QString&) override { notes << text; }
    bool ask(const QString& text, const QString&, Preset) override {
        notes << text;
        return true;
    }
    QStringList notes;
};
