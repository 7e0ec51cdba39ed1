#include "Messages.h"

Messages::~Messages() = default;

void Messages::beep() {}

Messages::Answer Messages::askYesNoCancel(const QString& text, const QString& caption, Answer preset) {
    return ask(text, caption, preset == Answer::No ? Preset::No : Preset::Yes) ? Answer::Yes : Answer::No;
}
