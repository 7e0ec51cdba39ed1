#include "TagId.h"

#include <algorithm>

namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

}  // namespace

QString TagId::ToBase36(quint64 value) {
    QString text;
    for (; value > 0; value /= 36) text.prepend(QChar(kDigits[value % 36]));
    return text;
}

QString TagId::NewTagId(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    const int years = std::max(0, date.year() - 1995);
    const quint64 stamp = quint64(date.month()) * 100000000 + quint64(date.day()) * 1000000 +
                          quint64(time.hour()) * 10000 + quint64(time.minute()) * 100 +
                          quint64(time.second());
    return ToBase36(quint64(years)) + ToBase36(stamp);
}

QString TagId::NewTagId() {
    static QDateTime lastMade;
    QDateTime now = QDateTime::currentDateTime();
    now = now.addMSecs(-now.time().msec());
    if (lastMade.isValid() && now <= lastMade) now = lastMade.addSecs(1);
    lastMade = now;
    return NewTagId(now);
}

bool TagId::isValid(const QString& id) {
    if (id.isEmpty() || id.size() > kMaxLength) return false;
    return std::all_of(id.begin(), id.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'); });
}
