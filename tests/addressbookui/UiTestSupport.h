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

// Runs `handle` on the next modal dialog of type D once it is up and `ready` holds
// (it must close it). Fails the test when none comes within a few seconds.
template <typename D>
void onNextDialog(std::function<bool(D*)> ready, std::function<void(D*)> handle) {
    auto* timer = new QTimer;
    auto* waited = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, ready, handle] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (d && ready(d)) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            handle(d);
        } else if (++*waited > 500) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            ADD_FAILURE() << "no dialog came";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        }
    });
    timer->start();
}
