#include "TSpellCheckDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include "SpellChecker.h"
#include "WindowMessages.h"

namespace {

// A word worth checking: letters, with apostrophes inside; no digits.
bool isWord(const QString& w) {
    bool letter = false;
    for (const QChar c : w) {
        if (c.isDigit()) return false;
        letter = letter || c.isLetter();
    }
    return letter;
}

}  // namespace

TSpellCheckDialog::TSpellCheckDialog(QTextEdit* editor, SpellChecker& checker, QWidget* parent)
    : QDialog(parent), editor_(editor), checker_(checker) {
    setObjectName("TSpellCheckDialog");
    setWindowTitle("Spell Check");
    Word = new QLabel;
    Word->setObjectName("Word");
    Suggestions = new QListWidget;
    Suggestions->setObjectName("Suggestions");
    ReplaceWith = new QLineEdit;
    ReplaceWith->setObjectName("ReplaceWith");
    ReplaceButton = new QPushButton("&Replace ");
    SkipButton = new QPushButton("&Skip Word");
    AddButton = new QPushButton("&Add Word");
    CancelButton = new QPushButton("&Cancel");
    AddButton->setEnabled(checker_.canAddWords());
    auto* grid = new QGridLayout;
    auto label = [](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    // The word in question is shown, not edited: its label has nothing to go to.
    grid->addWidget(new QLabel("Possible spelling error"), 0, 0);
    grid->addWidget(Word, 0, 1);
    grid->addWidget(label("&Possible replacements", Suggestions), 1, 0, Qt::AlignTop);
    grid->addWidget(Suggestions, 1, 1);
    grid->addWidget(label("Replace &with", ReplaceWith), 2, 0);
    grid->addWidget(ReplaceWith, 2, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ReplaceButton, SkipButton, AddButton, CancelButton}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    connect(ReplaceButton, &QPushButton::clicked, this, &TSpellCheckDialog::ReplaceClick);
    connect(SkipButton, &QPushButton::clicked, this, &TSpellCheckDialog::SkipClick);
    connect(AddButton, &QPushButton::clicked, this, &TSpellCheckDialog::AddClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Suggestions, &QListWidget::currentTextChanged, ReplaceWith, &QLineEdit::setText);
    word_ = QTextCursor(editor_->document());
}

bool TSpellCheckDialog::start() { return next(); }

bool TSpellCheckDialog::next() {
    QTextCursor c = word_;
    c.clearSelection();
    while (!c.atEnd()) {
        c.movePosition(QTextCursor::StartOfWord);
        c.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        const QString w = c.selectedText();
        if (!w.isEmpty() && isWord(w) && !checker_.isKnown(w)) {
            word_ = c;
            editor_->setTextCursor(c);
            Word->setText(w);
            const QStringList s = checker_.suggestions(w);
            Suggestions->clear();
            Suggestions->addItems(s);
            ReplaceWith->setText(s.isEmpty() ? w : s.first());
            return true;
        }
        c.clearSelection();
        if (!c.movePosition(QTextCursor::NextWord)) break;
    }
    done(QDialog::Accepted);
    WindowMessages().inform("Spell check complete");
    return false;
}

void TSpellCheckDialog::ReplaceClick() {
    const QTextCharFormat format = word_.charFormat();
    word_.insertText(ReplaceWith->text(), format);
    next();
}

void TSpellCheckDialog::SkipClick() {
    word_.clearSelection();
    word_.movePosition(QTextCursor::NextWord);
    next();
}

void TSpellCheckDialog::AddClick() {
    checker_.addWord(Word->text());
    SkipClick();
}
