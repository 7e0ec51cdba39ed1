#pragma once

#include <QString>
#include <Qt>
#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;

// The Ok / Cancel / Help buttons at the foot (or the side) of a dialog, named
// OkButton, CancelButton and HelpButton as the windows' tests and help find them. Ok is
// the default button and calls `onOk` (the dialog's accept() when none is given);
// Cancel rejects the dialog; Help calls `onHelp`, without one it opens the dialog's page
// of the manual (HelpLink). A
// dialog's own buttons go before them in layout (a horizontal row keeps them at the
// left, the standard three at the right; a vertical column stacks everything at the
// top). The dialog owns the buttons.
struct ButtonRow {
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QBoxLayout* layout;

    ButtonRow(QDialog* dialog, std::function<void()> onOk, std::function<void()> onHelp,
              Qt::Orientation orientation = Qt::Horizontal, const QString& okText = QStringLiteral("Ok"));
    // Puts a dialog's own button before the standard three.
    void addOwn(QPushButton* button);
    // Gives the three buttons Alt letters, for a dialog whose other controls leave
    // those letters free.
    void setMnemonics(const QString& ok = QStringLiteral("&Ok"), const QString& cancel = QStringLiteral("&Cancel"),
                      const QString& help = QStringLiteral("&Help"));

  private:
    int own_ = 0;
};
