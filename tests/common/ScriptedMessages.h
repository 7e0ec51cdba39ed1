#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "Messages.h"

// The message route of window tests: while one lives it takes the place of the message
// boxes (WindowMessages), records every notice and question, and answers questions
// from `answers` (Yes when none is queued).
class ScriptedMessages : public Messages {
  public:
    enum class Kind { Information, Warning, Error, Question, ThreeWayQuestion };
    struct Request {
        Kind kind;
        QString text;
        QString caption;
        Preset preset;
    };

    ScriptedMessages();
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void inform(const QString& text, const QString& caption) override;
    void warn(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    bool ask(const QString& text, const QString& caption, Preset preset) override;
    // Answers from `threeWayAnswers` (Yes when none is queued).
    Answer askYesNoCancel(const QString& text, const QString& caption, Answer preset) override;
    void beep() override { ++beeps; }

    // Each request as "caption: text"; a question whose preset is No as
    // "(No) caption: text".
    QStringList texts() const;
    bool wasAsked(const QString& text) const;

    std::vector<Request> requests;
    std::deque<bool> answers;
    std::deque<Answer> threeWayAnswers;
    int beeps = 0;

  private:
    Messages* previous_;
};
