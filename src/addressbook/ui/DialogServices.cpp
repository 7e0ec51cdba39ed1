#include "DialogServices.h"

void DialogServices::ShowHelp(const QString& windowClass) const {
    if (help) help(windowClass);
}
