#pragma once

#include "NextDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "DialogServices.h"

// Message boxes and beeps for the windows under test: every notice and question is
// recorded as "caption: text" (notices as "Information: text", questions whose default
// is No with a "(No) " before the caption); questions take the queued answers, Yes when
// none is queued.
class RecordedServices {
  public:
    DialogServices services();

    QStringList asked;
    std::deque<bool> answers;
    int beeps = 0;
    QStringList helped;
};

