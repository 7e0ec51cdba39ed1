#include "WindowMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The only place of the program that shows a QMessageBox.
class MessageBoxes : public Messages {
  public:
    void inform(const QString& text, const QString& caption) override {
        show(QMessageBox::Information, text, caption, QMessageBox::Ok, QMessageBox::Ok);
    }
    void warn(const QString& text, const QString& caption) override {
        show(QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
    }
    void error(const QString& text, const QString& caption) override {
        show(QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
    }
    bool ask(const QString& text, const QString& caption, Preset preset) override {
        return show(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No,
                    preset == Preset::Yes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
    }
    Answer askYesNoCancel(const QString& text, const QString& caption, Answer preset) override {
        const QMessageBox::StandardButton presetButton = preset == Answer::Yes  ? QMessageBox::Yes
                                                         : preset == Answer::No ? QMessageBox::No
                                                                                : QMessageBox::Cancel;
        // Escape and the title bar's close button give Cancel.
        switch (show(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                     presetButton)) {
            case QMessageBox::Yes: return Answer::Yes;
            case QMessageBox::No: return Answer::No;
            default: return Answer::Cancel;
        }
    }
    void beep() override { QApplication::beep(); }

  private:
    static int show(QMessageBox::Icon icon, const QString& text, const QString& caption,
                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preset) {
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner) owner = QApplication::activeWindow();
        QMessageBox box(icon, caption, shown, buttons, owner);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(preset);
        return box.exec();
    }
};

Messages* replacement = nullptr;

}  // namespace

Messages& WindowMessages() {
    static MessageBoxes boxes;
    return replacement ? *replacement : boxes;
}

Messages* SetWindowMessages(Messages* route) {
    Messages* previous = replacement;
    replacement = route;
    return previous;
}
