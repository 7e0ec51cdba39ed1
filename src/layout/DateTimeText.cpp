#include "DateTimeText.h"

namespace layout {

QString DateTimeText(const QDateTime& now, TGDateFormat date, TGTimeFormat time, const QLocale& locale) {
    QString text;
    if (date == dtfDateShort) text = locale.toString(now.date(), QLocale::ShortFormat);
    if (date == dtfDateLong) text = locale.toString(now.date(), QLocale::LongFormat);
    if (time == dtfTimeShort) text += ' ' + locale.toString(now.time(), QLocale::ShortFormat);
    if (time == dtfTimeLong) text += ' ' + locale.toString(now.time(), QLocale::LongFormat);
    return text;
}

}  // namespace layout
