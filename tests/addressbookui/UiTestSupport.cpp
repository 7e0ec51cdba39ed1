#include "UiTestSupport.h"

DialogServices RecordedServices::services() {
    DialogServices s;
    s.help = [this](const QString& window) { helped << window; };
    return s;
}
