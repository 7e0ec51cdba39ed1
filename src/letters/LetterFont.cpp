#include "LetterFont.h"

#include <QFont>

#include "SettingKeys.h"
#include "Settings.h"

LetterFont LetterFont::Load(const Settings* settings) {
    LetterFont f;
    if (!settings) return f;
    f.name = settings->value(setting::kLetterFontName);
    const int size = settings->value(setting::kLetterFontSize);
    if (size >= 1 && size <= 1638) f.size = size;  // a size no font dialog offers falls back
    f.bold = settings->value(setting::kLetterFontBold);
    f.italic = settings->value(setting::kLetterFontItalic);
    return f;
}

bool LetterFont::Save(Settings* settings) const {
    if (!settings) return true;
    return settings->write({{setting::kLetterFontName, name},
                            {setting::kLetterFontSize, size},
                            {setting::kLetterFontBold, bold},
                            {setting::kLetterFontItalic, italic}});
}

QString LetterFont::caption() const {
    // The blank before ", bold" is what the caption has always shown.
    QString text = "&Default Font: " + name + ", " + QString::number(size) + " pt ";
    if (bold) text += ", bold";
    if (italic) text += ", italic";
    return text;
}

QTextCharFormat LetterFont::charFormat() const {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name});
    f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    return f;
}
