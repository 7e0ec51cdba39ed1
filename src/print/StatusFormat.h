#pragma once

#include <QString>
#include <QStringList>

// What the codes of a status line stand for at the moment it is formatted.
struct StatusContext {
    int page = 0;
    int firstPage = 1;
    int lastPage = 9999;
    QString device;  // "Preview" for the page stream
    QString driver;  // "Preview" for the page stream
    QString port;    // "Screen" for the page stream
    QStringList statusText;
};

// Formats a status line template: "%%" is "%", "%0".."%9" the line of statusText
// (nothing when there is no such line), "%D" device, "%R" driver, "%T" port, "%F" and
// "%L" the page range, "%P" the current page; the letter is matched ignoring case. Any
// other character after "%" gives "<ERROR-%" + the character + ">", and a "%" that
// ends the template stays as it is. Line breaks are "\r", as in the templates.
QString FormatStatus(const QString& format, const StatusContext& context);
