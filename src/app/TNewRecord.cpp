#include "TNewRecord.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"

TNewRecord::TNewRecord(bool askNames, bool askZip, int lastWidth, int firstWidth, int zipWidth,
                       QWidget* parent)
    : QDialog(parent), askNames_(askNames), askZip_(askZip) {
    setObjectName("TNewRecord");
    setWindowTitle("New Record");

    LastNameEdit = new QLineEdit(this);  // owned also when its row is not asked for
    LastNameEdit->setObjectName("LastNameEdit");
    LastNameEdit->setMaxLength(lastWidth);
    LastNameEdit->setWhatsThis(
        "The last name of the new record, checked against the names already in the file.");
    FirstNameEdit = new QLineEdit(this);  // owned also when its row is not asked for
    FirstNameEdit->setObjectName("FirstNameEdit");
    FirstNameEdit->setMaxLength(firstWidth);
    FirstNameEdit->setWhatsThis("The first name of the new record.");
    ZipEdit = new QLineEdit(this);  // owned also when its row is not asked for
    ZipEdit->setObjectName("ZipEdit");
    ZipEdit->setMaxLength(zipWidth);
    ZipEdit->setWhatsThis("City and state are filled in from a record whose ZIP code begins with this.");

    auto* form = new QFormLayout;
    if (askNames) {
        form->addRow("Last Name", LastNameEdit);
        form->addRow("First Name", FirstNameEdit);
    } else {
        LastNameEdit->hide();
        FirstNameEdit->hide();
    }
    if (askZip) {
        form->addRow("Zip Code or Postal Code", ZipEdit);
    } else {
        ZipEdit->hide();
    }

    ButtonRow buttons(
        this, nullptr, nullptr, Qt::Horizontal, "Ok [PgDn]");
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    for (QPushButton* b : {OkButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);  // Enter moves between the edits
        b->setDefault(false);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.layout);

    for (QLineEdit* e : {LastNameEdit, FirstNameEdit, ZipEdit}) e->installEventFilter(this);
    (askNames ? LastNameEdit : ZipEdit)->setFocus();
}

QString TNewRecord::lastName() const { return askNames_ ? LastNameEdit->text() : QString(); }
QString TNewRecord::firstName() const { return askNames_ ? FirstNameEdit->text() : QString(); }
QString TNewRecord::zip() const { return askZip_ ? ZipEdit->text() : QString(); }

void TNewRecord::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TNewRecord::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    const bool tab = k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier) == 0;
    if (k->key() == Qt::Key_PageDown) {
        accept();
        return true;
    }
    if (watched == ZipEdit && enter) {
        accept();
        return true;
    }
    // Leaving the first name by keyboard ends the dialog when there is no ZIP to ask.
    if (watched == FirstNameEdit && !askZip_ && (enter || tab)) {
        accept();
        return true;
    }
    if (enter) {
        focusNextChild();
        return true;
    }
    return false;
}
