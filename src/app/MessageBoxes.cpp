#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {

namespace {

Asker& currentAsker() {
    static Asker asker;
    return asker;
}

QWidget* owner(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

bool showBox(const Request& r, QWidget* parent) {
    QString text = r.text;
    text.replace("\r\n", "\n");
    QMessageBox box(owner(parent));
    box.setWindowTitle(r.caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (r.kind) {
        case Kind::Information:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Kind::Error:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Kind::YesNo:
        case Kind::YesNoDefaultNo:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(r.kind == Kind::YesNo ? QMessageBox::Yes : QMessageBox::No);
            break;
    }
    return box.exec() == QMessageBox::Yes;
}

bool ask(const Request& r, QWidget* parent) {
    if (currentAsker()) return currentAsker()(r);
    return showBox(r, parent);
}

}  // namespace

Asker setAsker(Asker asker) {
    Asker previous = std::move(currentAsker());
    currentAsker() = std::move(asker);
    return previous;
}

}  // namespace MessageBoxes

using MessageBoxes::Kind;

void ShowInformation(const QString& text, QWidget* parent) {
    MessageBoxes::ask({Kind::Information, text, "Information"}, parent);
}

bool AskYesNo(const QString& text, const QString& caption, QWidget* parent) {
    return MessageBoxes::ask({Kind::YesNo, text, caption}, parent);
}

bool AskYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent) {
    return MessageBoxes::ask({Kind::YesNoDefaultNo, text, caption}, parent);
}

void ShowError(const QString& text, const QString& caption, QWidget* parent) {
    MessageBoxes::ask({Kind::Error, text, caption}, parent);
}

namespace {
int beeps = 0;
}

void Beep() {
    ++beeps;
    QApplication::beep();
}

int BeepCount() { return beeps; }

void NotAvailableYet(QWidget* parent) { ShowInformation("This command is not available yet.", parent); }
