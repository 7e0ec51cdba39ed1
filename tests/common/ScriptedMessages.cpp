#include "ScriptedMessages.h"

#include "WindowMessages.h"

ScriptedMessages::ScriptedMessages() : previous_(SetWindowMessages(this)) {}

ScriptedMessages::~ScriptedMessages() { SetWindowMessages(previous_); }

void ScriptedMessages::inform(const QString& text, const QString& caption) {
    requests.push_back({Kind::Information, text, caption, Preset::Yes});
}

void ScriptedMessages::warn(const QString& text, const QString& caption) {
    requests.push_back({Kind::Warning, text, caption, Preset::Yes});
}

void ScriptedMessages::error(const QString& text, const QString& caption) {
    requests.push_back({Kind::Error, text, caption, Preset::Yes});
}

bool ScriptedMessages::ask(const QString& text, const QString& caption, Preset preset) {
    requests.push_back({Kind::Question, text, caption, preset});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Messages::Answer ScriptedMessages::askYesNoCancel(const QString& text, const QString& caption, Answer preset) {
    requests.push_back({Kind::ThreeWayQuestion, text, caption, preset == Answer::No ? Preset::No : Preset::Yes});
    if (threeWayAnswers.empty()) return Answer::Yes;
    const Answer answer = threeWayAnswers.front();
    threeWayAnswers.pop_front();
    return answer;
}

QStringList ScriptedMessages::texts() const {
    QStringList list;
    for (const Request& r : requests) {
        const bool noPreset = r.kind == Kind::Question && r.preset == Preset::No;
        list << (noPreset ? QStringLiteral("(No) ") : QString()) + r.caption + QStringLiteral(": ") + r.text;
    }
    return list;
}

bool ScriptedMessages::wasAsked(const QString& text) const {
    for (const Request& r : requests)
        if (r.text == text) return true;
    return false;
}
