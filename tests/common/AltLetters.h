#pragma once

#include <QMap>
#include <QStringList>
#include <QWidget>

#include "Mnemonics.h"

// What keeps a window from being worked with Alt and a letter, once the program has
// given it its letters (Mnemonics::assign, as every window gets them when shown): a
// control that takes a letter (Mnemonics::controls) left without one although its
// caption has a free letter, and two controls sharing one. Each problem is one line;
// none means the window is fine. Controls hidden on purpose are left out.
inline QStringList AltLetterProblems(QWidget& window) {
    Mnemonics::assign(&window);
    const QSet<QChar> taken = Mnemonics::taken(&window);
    QStringList problems;
    QMap<QChar, QString> owners;
    for (QWidget* control : Mnemonics::controls(&window)) {
        if (!control->isVisibleTo(&window)) continue;
        const QString caption = Mnemonics::captionOf(control);
        const QChar letter = Mnemonics::of(caption);
        if (letter.isNull()) {
            for (QChar c : caption)
                if (c.isLetterOrNumber() && !taken.contains(c.toLower())) {
                    problems << QStringLiteral("no Alt letter: \"%1\"").arg(caption);
                    break;
                }
            continue;
        }
        if (owners.contains(letter))
            problems << QStringLiteral("Alt+%1 twice: \"%2\" and \"%3\"").arg(letter, owners[letter], caption);
        else
            owners.insert(letter, caption);
    }
    return problems;
}
