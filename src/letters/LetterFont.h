#pragma once

#include <QString>
#include <QTextCharFormat>

class Settings;

// The letter editor's default font: what a new letter starts in and what the
// "Default Font" command sets. It lives in the "Letter" section of QUILLO.ini.
struct LetterFont {
    QString name = QStringLiteral("Arial");
    int size = 10;  // points
    bool bold = false;
    bool italic = false;

    // The font stored in `settings` (the defaults above without settings).
    static LetterFont Load(const Settings* settings);
    // Writes all four values; false when the file cannot be written.
    [[nodiscard]] bool Save(Settings* settings) const;

    // The menu item's caption, e.g. "&Default Font: Arial, 10 pt , bold".
    QString caption() const;
    // The character format that makes text this font.
    QTextCharFormat charFormat() const;
};
