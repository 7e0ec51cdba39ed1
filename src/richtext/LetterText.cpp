#include "LetterText.h"

#include <QTextBlock>
#include <QTextDocument>

#include "LetterPage.h"

namespace LetterText {

std::unique_ptr<QTextDocument> Copy(const QTextDocument& letter) {
    std::unique_ptr<QTextDocument> copy(letter.clone());
    copy->setParent(nullptr);
    copy->setUndoRedoEnabled(false);  // a copy is merged and printed, never edited
    LetterPage::Of(letter).applyTo(copy.get());
    return copy;
}

QString PlainText(const QTextDocument& letter) {
    QString out;
    for (QTextBlock block = letter.begin(); block.isValid(); block = block.next()) {
        if (block != letter.begin() &&
            (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
            out += QLatin1Char('\f');
        }
        QString line = block.text();
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        line.replace(QChar::Nbsp, QLatin1Char(' '));
        line.remove(QChar::SoftHyphen);
        out += line;
        out += QLatin1Char('\n');
    }
    return out;
}

}  // namespace LetterText
