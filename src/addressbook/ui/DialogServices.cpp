#include "DialogServices.h"

#include <QApplication>
#include <QWidget>

#include "HelpLink.h"

std::function<void()> DialogServices::helpFor(const QObject* window) const {
    if (help) return [show = help, window] { show(window->objectName()); };
    return [window] { HelpLink::showFor(qobject_cast<QWidget*>(const_cast<QObject*>(window))); };
}

void DialogServices::ShowHelp(const QString& windowClass) const {
    if (help) {
        help(windowClass);
    } else {
        HelpLink::show(HelpLink::table().value(windowClass, QString::fromLatin1(HelpLink::kContents)),
                       QApplication::activeWindow());
    }
}
