#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `handle` on the next modal dialog of type D once it is up and `ready` holds
// (`handle` must close it). Fails the test when none comes within 20 seconds, and
// closes whatever modal window is up then, so that the test does not hang.
template <typename D>
void onNextDialog(std::function<bool(D*)> ready, std::function<void(D*)> handle) {
    auto* timer = new QTimer;
    // Measured in time, not in ticks: on a loaded machine a running job lets the timer
    // fire less often.
    auto* waited = new QElapsedTimer;
    waited->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, ready, handle] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (d && ready(d)) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            handle(d);
        } else if (waited->elapsed() > 20000) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            ADD_FAILURE() << "no dialog came";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        }
    });
    timer->start();
}

// The same for the first dialog of type D that comes up.
template <typename D>
void onNextDialog(std::function<void(D*)> handle) {
    onNextDialog<D>([](D*) { return true; }, std::move(handle));
}

// Answers the next message box with `button` and keeps its text in `text` (when given).
// Gives up like onNextDialog when no box comes.
inline void answerNextBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    onNextDialog<QMessageBox>([button, text](QMessageBox* box) {
        if (text) *text = box->text();
        box->button(button)->click();
    });
}
