#include "DialogServices.h"

std::function<void()> DialogServices::helpFor(const QObject* window) const {
    if (!help) return nullptr;
    return [show = help, window] { show(window->objectName()); };
}

void DialogServices::ShowHelp(const QString& windowClass) const {
    if (help) help(windowClass);
}
