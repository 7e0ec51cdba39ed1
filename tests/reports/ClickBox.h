#pragma once

#include <QAbstractButton>
#include <QTest>

// Clicks a check box or radio button on its indicator: a click at the middle of a wide
// box lands beside its text, where it does not count.
inline void clickBox(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}
