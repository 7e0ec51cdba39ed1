#include "TMultiLineTextEditor.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "ButtonRow.h"
#include "LayoutFont.h"
#include "ObjectEdits.h"

TMultiLineTextEditor::TMultiLineTextEditor(const QString& text, const LayoutFont& font, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TMultiLineTextEditor");
    setWindowTitle("Multi-line Text Editor");
    Memo = new QPlainTextEdit;
    Memo->setObjectName("Memo");
    Memo->setFont(layout::DialogFont(font));
    Memo->setTabChangesFocus(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setPlainText(text.left(layout::kMultiLineTextLimit));
    connect(Memo, &QPlainTextEdit::textChanged, this, &TMultiLineTextEditor::keepWithinLimit);

    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo);
    layout->addLayout(buttons.layout);
    resize(420, 260);
    buttons.setMnemonics();
    // The dialog opens on the text, selected, so that typing replaces it.
    setTabOrder(Memo, OkButton);
    Memo->selectAll();
    Memo->setFocus();
}

QString TMultiLineTextEditor::text() const { return Memo->toPlainText(); }

// Typing or pasting past the limit keeps the text up to it, like a memo with a
// maximum length.
void TMultiLineTextEditor::keepWithinLimit() {
    const QString t = Memo->toPlainText();
    if (t.size() <= layout::kMultiLineTextLimit) return;
    QTextCursor c = Memo->textCursor();
    const int position = std::min<int>(c.position(), layout::kMultiLineTextLimit);
    const QSignalBlocker block(Memo);
    Memo->setPlainText(t.left(layout::kMultiLineTextLimit));
    c = Memo->textCursor();
    c.setPosition(position);
    Memo->setTextCursor(c);
}
