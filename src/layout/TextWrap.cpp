#include "TextWrap.h"

namespace layout {

QStringList SplitLines(const QString& text) {
    QString t = text;
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t.split('\n');
}

namespace {

QString withoutTrailingSpaces(QString s) {
    while (s.endsWith(' ')) s.chop(1);
    return s;
}

// Words with the spaces that follow them.
QStringList tokens(const QString& paragraph) {
    QStringList out;
    QString current;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        const QChar c = paragraph[i];
        if (c != ' ' && !current.isEmpty() && current.back() == ' ') {
            out << current;
            current.clear();
        }
        current += c;
    }
    if (!current.isEmpty()) out << current;
    return out;
}

}  // namespace

QStringList WrapLines(const QStringList& paragraphs, int maxWidth,
                      const std::function<int(const QString&)>& width) {
    QStringList lines;
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QString line;
        for (QString token : tokens(paragraph)) {
            if (width(withoutTrailingSpaces(line + token)) <= maxWidth) {
                line += token;
                continue;
            }
            if (!line.isEmpty()) {
                lines << withoutTrailingSpaces(line);
                line.clear();
            }
            // A word wider than the line is broken between characters, at least one
            // character a line.
            while (width(withoutTrailingSpaces(token)) > maxWidth &&
                   withoutTrailingSpaces(token).size() > 1) {
                qsizetype n = 1;
                while (n < token.size() && width(token.left(n + 1)) <= maxWidth) ++n;
                lines << token.left(n);
                token = token.mid(n);
            }
            line = token;
        }
        lines << line;
    }
    return lines;
}

}  // namespace layout
