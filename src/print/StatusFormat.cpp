#include "StatusFormat.h"

QString FormatStatus(const QString& format, const StatusContext& c) {
    QString out;
    out.reserve(format.size() + 16);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format[i];
        if (ch != '%' || i + 1 == format.size()) {
            out += ch;
            continue;
        }
        const QChar code = format[++i];
        if (code >= '0' && code <= '9') {
            const int line = code.unicode() - '0';
            if (line < c.statusText.size()) out += c.statusText[line];
            continue;
        }
        switch (code.toUpper().unicode()) {
            case '%':
                out += '%';
                break;
            case 'D':
                out += c.device;
                break;
            case 'R':
                out += c.driver;
                break;
            case 'T':
                out += c.port;
                break;
            case 'F':
                out += QString::number(c.firstPage);
                break;
            case 'L':
                out += QString::number(c.lastPage);
                break;
            case 'P':
                out += QString::number(c.page);
                break;
            default:
                out += QStringLiteral("<ERROR-%") + code + '>';
        }
    }
    return out;
}
