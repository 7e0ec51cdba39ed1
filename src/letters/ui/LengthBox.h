#pragma once

#include <QLineEdit>

// The edit box the letter dialogs type a length into (margins, indents, spacing): narrow,
// right-aligned, named for the tests and the help.
inline QLineEdit* LengthBox(const char* name) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaximumWidth(100);
    e->setAlignment(Qt::AlignRight);
    return e;
}
