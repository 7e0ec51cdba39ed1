#include "TFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "WindowMessages.h"

TFindDialog::TFindDialog(QTextEdit* editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName("TFindDialog");
    FindWhat = new QLineEdit;
    FindWhat->setObjectName("FindWhat");
    ReplaceWith = new QLineEdit;
    ReplaceWith->setObjectName("ReplaceWith");
    auto* findLabel = new QLabel("Fi&nd what:");
    findLabel->setBuddy(FindWhat);
    auto* replaceLabel = new QLabel("Re&place with:");
    replaceLabel->setBuddy(ReplaceWith);
    replaceLabel_ = replaceLabel;
    MatchCase = new QCheckBox("Match &case");
    WholeWord = new QCheckBox("Match &whole word only");
    auto* direction = new QGroupBox("Direction");
    Up = new QRadioButton("&Up");
    Down = new QRadioButton("&Down");
    Down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(Up);
    directionLayout->addWidget(Down);

    FindNextButton = new QPushButton("&Find Next");
    FindNextButton->setDefault(true);
    ReplaceButton = new QPushButton("&Replace");
    ReplaceAllButton = new QPushButton("Replace &All");
    CancelButton = new QPushButton("Cance&l");
    connect(FindNextButton, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(ReplaceButton, &QPushButton::clicked, this, &TFindDialog::Replace);
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto enable = [this] {
        const bool any = !FindWhat->text().isEmpty();
        for (QPushButton* b : {FindNextButton, ReplaceButton, ReplaceAllButton}) b->setEnabled(any);
    };
    connect(FindWhat, &QLineEdit::textChanged, this, enable);
    enable();

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(FindWhat, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(ReplaceWith, 1, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(MatchCase);
    checks->addWidget(WholeWord);
    auto* lower = new QHBoxLayout;
    lower->addLayout(checks);
    lower->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(lower);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {FindNextButton, ReplaceButton, ReplaceAllButton, CancelButton}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

void TFindDialog::setReplaceShown(bool shown) {
    setWindowTitle(shown ? "Replace" : "Find");
    for (QWidget* w : {replaceLabel_, static_cast<QWidget*>(ReplaceWith), static_cast<QWidget*>(ReplaceButton),
                       static_cast<QWidget*>(ReplaceAllButton)})
        w->setVisible(shown);
    // Replacing always works down the text.
    Up->setEnabled(!shown);
    if (shown) Down->setChecked(true);
    adjustSize();
}

void TFindDialog::open(bool replace) {
    setReplaceShown(replace);
    const QString selected = editor_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) FindWhat->setText(selected);
    show();
    raise();
    activateWindow();
    FindWhat->setFocus();
    FindWhat->selectAll();
}

TextSearch::Options TFindDialog::options() const {
    TextSearch::Options o;
    o.matchCase = MatchCase->isChecked();
    o.wholeWord = WholeWord->isChecked();
    o.up = Up->isChecked();
    return o;
}

bool TFindDialog::FindNext() {
    const QString text = FindWhat->text();
    if (text.isEmpty()) return false;
    const QTextCursor found = TextSearch::FindNext(*editor_->document(), text, editor_->textCursor(), options());
    if (found.isNull()) {
        WindowMessages().inform("Cannot find \"" + text + "\"", windowTitle());
        return false;
    }
    editor_->setTextCursor(found);
    editor_->ensureCursorVisible();
    return true;
}

void TFindDialog::Replace() {
    QTextCursor c = editor_->textCursor();
    if (TextSearch::IsMatch(c, FindWhat->text(), options())) {
        TextSearch::ReplaceSelection(c, ReplaceWith->text());
        editor_->setTextCursor(c);
    }
    FindNext();
}

int TFindDialog::ReplaceAll() {
    const QString text = FindWhat->text();
    if (text.isEmpty()) return 0;
    const int count = TextSearch::ReplaceAll(editor_->document(), text, ReplaceWith->text(), options());
    WindowMessages().inform(count == 0 ? "Cannot find \"" + text + "\""
                            : count == 1 ? QStringLiteral("1 occurrence replaced")
                                         : QString::number(count) + " occurrences replaced",
                            windowTitle());
    return count;
}
