#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "LayoutEnums.h"

namespace layout {

// The text of a date/time object: the date in the locale's short or long format, then,
// when a time is wanted, one space and the time in the short or long format (so that a
// time without a date starts with a space).
QString DateTimeText(const QDateTime& now, TGDateFormat date, TGTimeFormat time,
                     const QLocale& locale = QLocale::system());

}  // namespace layout
