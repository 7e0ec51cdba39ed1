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
            // character a line. The rest is walked by position, not copied per line, so
            // a word of megabytes costs no more than its length.
            // No character is narrower than a pixel, so the next maxWidth + 1 characters
            // tell whether the rest is wider than a line.
            auto restTooWide = [&](qsizetype from) {
                const QString rest = withoutTrailingSpaces(token.mid(from, maxWidth + 1));
                return rest.size() > 1 && width(rest) > maxWidth;
            };
            qsizetype from = 0;
            while (restTooWide(from)) {
                qsizetype n = 1;
                while (from + n < token.size() && width(token.mid(from, n + 1)) <= maxWidth) ++n;
                lines << token.mid(from, n);
                from += n;
            }
            line = token.mid(from);
        }
        lines << line;
    }
    return lines;
}

}  // namespace layout
