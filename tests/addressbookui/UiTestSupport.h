#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "DialogServices.h"
#include "NextDialog.h"
#include "ScriptedMessages.h"

// Message boxes, beeps and help for the windows under test: every notice and question
// is recorded (asked(): notices as "Information: text", questions whose default is No
// with a "(No) " before the caption); questions take the queued answers, Yes when none
// is queued; help requests are recorded by window class.
class RecordedServices : public ScriptedMessages {
  public:
    DialogServices services();
    QStringList asked() const { return texts(); }

    QStringList helped;
};
