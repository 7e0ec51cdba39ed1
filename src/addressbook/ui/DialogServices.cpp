#include "DialogServices.h"

#include <QApplication>
#include <QMessageBox>

namespace {

bool ask(const QString& text, const QString& caption, QWidget* parent, QMessageBox::StandardButton preset) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(QMessageBox::Question, caption, shown, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(preset);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

void DialogServices::ShowInformation(const QString& text, QWidget* parent) const {
    if (inform) {
        inform(text);
        return;
    }
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), shown, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool DialogServices::AskYesNo(const QString& text, const QString& caption, QWidget* parent) const {
    return askYesNo ? askYesNo(text, caption) : ask(text, caption, parent, QMessageBox::Yes);
}

bool DialogServices::AskYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent) const {
    return askYesNoDefaultNo ? askYesNoDefaultNo(text, caption) : ask(text, caption, parent, QMessageBox::No);
}

void DialogServices::Beep() const {
    if (beep) {
        beep();
    } else {
        QApplication::beep();
    }
}

void DialogServices::ShowHelp(const QString& windowClass) const {
    if (help) help(windowClass);
}
