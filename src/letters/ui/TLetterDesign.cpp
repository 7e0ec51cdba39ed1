#include "TLetterDesign.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QScrollBar>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "LetterMerge.h"
#include "LetterPage.h"
#include "LetterPrint.h"
#include "LetterRuler.h"
#include "LetterText.h"
#include "ParagraphFormat.h"
#include "PrintKind.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "PlacedWindow.h"
#include "SavedCursor.h"
#include "SpellChecker.h"
#include "SpellHighlighter.h"
#include "TRTFPreviewForm.h"
#include "TFindDialog.h"
#include "TParagraphPropDlg.h"
#include "TWPPageProp.h"
#include "TSpellCheckDialog.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "Table.h"
#include "WindowMessages.h"
#include "FileSystem.h"
#include "WindowPlacement.h"

TLetterDesign::TLetterDesign(Settings* settings, xbase::Table* addresses, QWidget* parent)
    : QDialog(parent), settings_(settings), addresses_(addresses) {
    setObjectName("TLetterDesign");
    setWindowTitle("Letter Designer");
    Editor = new QTextEdit;
    Editor->setObjectName("Editor");
    Editor->setAcceptRichText(true);
    Editor->setLineWrapMode(QTextEdit::NoWrap);  // the editor always opens with word wrap off
    Editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Editor, &QTextEdit::customContextMenuRequested, this, &TLetterDesign::contextMenu);
    LetterPage().applyTo(Editor->document());

    auto* menus = new QMenuBar;
    QMenu* file = menus->addMenu("&File");
    file->addAction("&Save as RTF", this, &TLetterDesign::SaveAsRtf);
    file->addAction("&Load RTF", this, [this] { LoadRtf(false); });
    file->addAction("&Insert RTF", this, [this] { LoadRtf(true); });
    QMenu* edit = menus->addMenu("&Edit");
    FindItem = edit->addAction("&Find", QKeySequence::Find, this, [this] { Find(false); });
    ReplaceItem = edit->addAction("&Replace", this, [this] { Find(true); });
    ReplaceItem->setShortcuts({QKeySequence("Ctrl+R"), QKeySequence("Ctrl+H")});
    FindNextItem = edit->addAction("Find &Next", this, &TLetterDesign::FindNext);
    FindNextItem->setShortcuts({QKeySequence("F3")});
    SpellCheckItem = edit->addAction("&Spell Check", this, &TLetterDesign::SpellCheck);
    SpellCheckItem->setShortcut(QKeySequence("F7"));
    SpellCheckItem->setEnabled(false);
    edit->addAction("&Insert Page Break", this, &TLetterDesign::InsertPageBreak);
    QMenu* set = menus->addMenu("&Settings");
    ParagraphItem = set->addAction("&Paragraph Settings", this, &TLetterDesign::ParagraphSettings);
    set->addAction("Pa&ge Settings", this, &TLetterDesign::PageSettings);
    WordWrapItem = set->addAction("&Word Wrap is OFF", this, &TLetterDesign::ToggleWordWrap);
    DefaultFontItem = set->addAction(QString(), this, &TLetterDesign::DefaultFont);

    auto* tools = new QToolBar;
    FontName = new QFontComboBox;
    FontName->setToolTip("Font");
    FontSize = new QComboBox;
    FontSize->setToolTip("Font Size");
    FontSize->setEditable(true);
    FontSize->setMinimumContentsLength(3);
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSize->addItem(QString::number(size));
    tools->addWidget(FontName);
    tools->addWidget(FontSize);
    connect(Editor, &QTextEdit::currentCharFormatChanged, this, &TLetterDesign::showFormat);
    auto charFormat = [this](auto apply) {
        QTextCharFormat f;
        apply(f);
        Editor->mergeCurrentCharFormat(f);
        Editor->setFocus();
    };
    connect(FontName, &QFontComboBox::currentFontChanged, this,
            [=](const QFont& font) { charFormat([&](QTextCharFormat& f) { f.setFontFamilies({font.family()}); }); });
    connect(FontSize, &QComboBox::textActivated, this, [=](const QString& size) {
        if (size.toDouble() > 0) charFormat([&](QTextCharFormat& f) { f.setFontPointSize(size.toDouble()); });
    });
    // The second row: character styles, alignment and the clipboard.
    auto* styles = new QToolBar;
    styles->addAction("Normal", this, [=] {
        charFormat([](QTextCharFormat& f) {
            f.setFontWeight(QFont::Normal);
            f.setFontItalic(false);
            f.setFontUnderline(false);
        });
    });
    // The colours of the text and behind it, through the system's colour dialog.
    TextColorItem = tools->addAction("Text Color", this, [=] {
        const QColor c = QColorDialog::getColor(Editor->textColor(), this, "Text Color");
        if (c.isValid()) charFormat([&](QTextCharFormat& f) { f.setForeground(c); });
    });
    TextColorItem->setObjectName("TextColorItem");
    BackColorItem = tools->addAction("Background Color", this, [=] {
        const QColor now = Editor->textBackgroundColor();
        const QColor c = QColorDialog::getColor(now.isValid() && now.alpha() > 0 ? now : QColor(Qt::white), this,
                                                "Background Color");
        if (c.isValid()) charFormat([&](QTextCharFormat& f) { f.setBackground(c); });
    });
    BackColorItem->setObjectName("BackColorItem");
    styles->addAction("Bold", QKeySequence("Ctrl+B"), this, [=] {
        const bool bold = Editor->fontWeight() < QFont::DemiBold;
        charFormat([&](QTextCharFormat& f) { f.setFontWeight(bold ? QFont::Bold : QFont::Normal); });
    });
    styles->addAction("Italic", QKeySequence("Ctrl+I"), this,
                     [=] { charFormat([&](QTextCharFormat& f) { f.setFontItalic(!Editor->fontItalic()); }); });
    styles->addAction("Underline", QKeySequence("Ctrl+U"), this,
                     [=] { charFormat([&](QTextCharFormat& f) { f.setFontUnderline(!Editor->fontUnderline()); }); });
    const std::pair<const char*, Qt::Alignment> alignments[] = {
        {"Left", Qt::AlignLeft}, {"Right", Qt::AlignRight}, {"Justified", Qt::AlignJustify}, {"Center", Qt::AlignHCenter}};
    styles->addSeparator();
    for (const auto& [name, a] : alignments) {
        const Qt::Alignment align = a;
        styles->addAction(name, this, [this, align] { Editor->setAlignment(align); });
    }
    styles->addSeparator();
    styles->addAction("Copy", Editor, &QTextEdit::copy);
    styles->addAction("Cut", Editor, &QTextEdit::cut);
    styles->addAction("Paste", Editor, &QTextEdit::paste);

    Description = new QLineEdit;
    Description->setObjectName("Description");
    Description->setMaxLength(50);
    InsertField = new QComboBox;
    InsertField->setObjectName("InsertField");
    InsertField->addItems(LetterMerge::InsertFieldNames());
    InsertField->setCurrentIndex(0);
    connect(InsertField, qOverload<int>(&QComboBox::activated), this, &TLetterDesign::FieldClick);
    auto* bar = new QHBoxLayout;
    auto* descriptionLabel = new QLabel("&Description");
    descriptionLabel->setBuddy(Description);
    auto* fieldLabel = new QLabel("&Insert field");
    fieldLabel->setBuddy(InsertField);
    bar->addWidget(descriptionLabel);
    bar->addWidget(Description, 1);
    bar->addWidget(fieldLabel);
    bar->addWidget(InsertField);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(tools);
    layout->addWidget(styles);
    layout->addLayout(bar);
    // The ruler sits right on top of the editing area, as one piece with it.
    Ruler = new LetterRuler;
    auto* ruled = new QVBoxLayout;
    ruled->setSpacing(0);
    ruled->addWidget(Ruler);
    ruled->addWidget(Editor, 1);
    layout->addLayout(ruled, 1);
    ButtonRow row(this, [this] { accept(); }, nullptr);
    OkButton = row.OkButton;
    CancelButton = row.CancelButton;
    HelpButton = row.HelpButton;
    OkButton->setText("&Ok");
    CancelButton->setText("&Cancel");
    HelpButton->setText("&Help");
    PreviewButton = new QPushButton("&Preview");
    PreviewButton->setObjectName("PreviewButton");
    PreviewButton->setEnabled(addresses_ != nullptr);
    row.addOwn(PreviewButton);
    layout->addLayout(row.layout);
    connect(PreviewButton, &QPushButton::clicked, this, [this] {
        if (addresses_) Preview(*Editor->document(), *addresses_, settings_, this);
    });
    // The ruler follows the paragraph at the cursor, the page, and the horizontal
    // scrolling of the text.
    connect(Editor, &QTextEdit::cursorPositionChanged, this, &TLetterDesign::updateRuler);
    connect(Editor->document(), &QTextDocument::contentsChanged, this, &TLetterDesign::updateRuler);
    connect(Editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TLetterDesign::updateRuler);
    connect(Ruler, &LetterRuler::indentsChanged, this, [this](int first, int left, int right) {
        const ParagraphFormat shown = ParagraphFormat::At(Editor->textCursor());
        ParagraphFormat moved = shown;
        moved.firstIndent = first;
        moved.leftIndent = left;
        moved.rightIndent = right;
        applyParagraph(moved, shown);
    });

    LoadPref();
    SetDefaultFontCaption();
    resize(760, 560);
    updateRuler();
    // Typing goes into the letter from the start.
    Editor->setFocus();
}

void TLetterDesign::showFormat(const QTextCharFormat& f) {
    // The two lists show the format at the cursor; what it does not set comes from the
    // document's default font.
    const QSignalBlocker nameBlocker(FontName), sizeBlocker(FontSize);
    const QFont fallback = Editor->document()->defaultFont();
    const QStringList families = f.fontFamilies().toStringList();
    FontName->setCurrentFont(QFont(families.isEmpty() || families.first().isEmpty() ? fallback.family()
                                                                                    : families.first()));
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : fallback.pointSizeF();
    FontSize->setCurrentText(QString::number(points));
}

void TLetterDesign::updateRuler() {
    const LetterPage page = LetterPage::Of(*Editor->document());
    Ruler->setPage(page);
    // With word wrap on, lines break at the ruler's right margin, as on paper: the
    // page's text width plus the document margin on either side.
    if (Editor->lineWrapMode() != QTextEdit::NoWrap) {
        const int width = qRound(TwipsToDocument(page.textWidth()) + 2 * Editor->document()->documentMargin());
        if (Editor->lineWrapMode() != QTextEdit::FixedPixelWidth || Editor->lineWrapColumnOrWidth() != width) {
            Editor->setLineWrapMode(QTextEdit::FixedPixelWidth);
            Editor->setLineWrapColumnOrWidth(width);
        }
    }
    const ParagraphFormat p = ParagraphFormat::At(Editor->textCursor());
    Ruler->setIndents(p.firstIndent, p.leftIndent, p.rightIndent);
    // The text's left edge: the editor's frame and the document margin, less what
    // is scrolled away.
    const int x = Editor->geometry().x() - Ruler->geometry().x() + Editor->viewport()->geometry().x() +
                  int(Editor->document()->documentMargin()) - Editor->horizontalScrollBar()->value();
    Ruler->setOrigin(x, LetterPage::kDocumentDpi);
}

void TLetterDesign::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    updateRuler();
}

void TLetterDesign::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (settings_) {
            PlacedWindow::Restore(this, *settings_, QStringLiteral("TLetterDesign"), [this](const QRect& area) {
                return WindowPlacement::CenterForm(size().boundedTo(area.size()), area);
            });
        }
        Editor->setFocus();
        showFormat(Editor->currentCharFormat());
    }
    QDialog::showEvent(event);
    updateRuler();
}

void TLetterDesign::done(int result) {
    if (settings_) PlacedWindow::Save(this, *settings_, QStringLiteral("TLetterDesign"));
    QDialog::done(result);
}

void TLetterDesign::applyParagraph(const ParagraphFormat& format, const ParagraphFormat& shown) {
    format.applyTo(Editor->textCursor(), shown);
    updateRuler();
}

void TLetterDesign::ParagraphSettings() {
    const ParagraphFormat shown = ParagraphFormat::At(Editor->textCursor());
    TParagraphPropDlg dialog(shown, this);
    if (dialog.exec() != QDialog::Accepted) return;
    applyParagraph(dialog.result(), shown);
    Editor->setFocus();
}

void TLetterDesign::LoadPref() { defaultFont_ = LetterFont::Load(settings_); }

void TLetterDesign::SavePref() {
    if (!defaultFont_.Save(settings_)) WindowMessages().error("Unable to save the default font in the settings file");
}

void TLetterDesign::SetDefaultFontCaption() { DefaultFontItem->setText(defaultFont_.caption()); }

void TLetterDesign::SetDefaultFontNow() {
    Editor->mergeCurrentCharFormat(defaultFont_.charFormat());
    // An empty letter has nothing to carry the format yet: the document's default font
    // is what new text gets.
    if (Editor->document()->isEmpty()) {
        QFont f = Editor->document()->defaultFont();
        f.setFamilies({defaultFont_.name});
        f.setPointSize(defaultFont_.size);
        f.setBold(defaultFont_.bold);
        f.setItalic(defaultFont_.italic);
        Editor->document()->setDefaultFont(f);
    }
}

void TLetterDesign::DefaultFont() {
    QFont preset(defaultFont_.name, defaultFont_.size, defaultFont_.bold ? QFont::Bold : QFont::Normal,
                 defaultFont_.italic);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, preset, this, "Default Font");
    DefaultFontChosen(ok ? std::optional<QFont>(chosen) : std::nullopt);
}

void TLetterDesign::DefaultFontChosen(const std::optional<QFont>& chosen) {
    if (chosen) {
        defaultFont_.name = chosen->family();
        defaultFont_.size = chosen->pointSize() > 0 ? chosen->pointSize() : defaultFont_.size;
        defaultFont_.bold = chosen->weight() >= QFont::DemiBold;
        defaultFont_.italic = chosen->italic();
        SetDefaultFontNow();
        Editor->setFocus();
    }
    SetDefaultFontCaption();
    SavePref();
}

QTextDocument* TLetterDesign::document() const { return Editor->document(); }

TLetterDesign::~TLetterDesign() {
    delete highlighter_;  // before the checker it reads
}

void TLetterDesign::setHome(const AppHome& home) {
    home_ = home;
    SpellCheckItem->setEnabled(SpellChecker::Available());
    if (!SpellChecker::Available()) return;
    checker_ = std::make_unique<SpellChecker>(home);
    highlighter_ = new SpellHighlighter(Editor->document(), *checker_);
}

void TLetterDesign::SpellCheck() {
    if (!checker_) return;
    TSpellCheckDialog dialog(Editor, *checker_, this);
    if (dialog.start()) dialog.exec();
    highlighter_->rehighlight();
}

void TLetterDesign::contextMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu(Editor->createStandardContextMenu(at));
    QTextCursor word = Editor->cursorForPosition(at);
    word.select(QTextCursor::WordUnderCursor);
    const QString text = word.selectedText();
    if (checker_ && !text.isEmpty() && !checker_->isKnown(text)) {
        QAction* first = menu->actions().value(0);
        const QStringList suggestions = checker_->suggestions(text);
        for (const QString& s : suggestions) {
            auto* replace = new QAction(s, menu.get());
            connect(replace, &QAction::triggered, this, [word, s]() mutable {
                const QTextCharFormat format = word.charFormat();
                word.insertText(s, format);
            });
            menu->insertAction(first, replace);
        }
        auto* add = new QAction("&Add Word", menu.get());
        connect(add, &QAction::triggered, this, [this, text] {
            checker_->addWord(text);
            highlighter_->rehighlight();
        });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
    }
    menu->exec(Editor->viewport()->mapToGlobal(at));
}

void TLetterDesign::setNewLetter(bool isNew) {
    if (isNew) SetDefaultFontNow();
}

void TLetterDesign::FieldClick(int index) {
    if (index < 0) return;
    Editor->insertPlainText("[" + InsertField->itemText(index) + "]");
    Editor->setFocus();
}

void TLetterDesign::InsertPageBreak() {
    if (!WindowMessages().ask("Insert a page break?", "PAGE BREAK", Messages::Preset::Yes)) return;
    QTextCursor c = Editor->textCursor();
    const QTextCharFormat format = c.charFormat();
    QTextBlockFormat block = c.blockFormat();
    block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(block, format);
    Editor->setTextCursor(c);
}

void TLetterDesign::ToggleWordWrap() {
    const bool on = Editor->lineWrapMode() == QTextEdit::NoWrap;
    Editor->setLineWrapMode(on ? QTextEdit::FixedPixelWidth : QTextEdit::NoWrap);
    WordWrapItem->setText(on ? "&Word Wrap is ON" : "&Word Wrap is OFF");
    updateRuler();  // sets the wrap width
}

void TLetterDesign::SaveAsRtf() {
    const QString path = QFileDialog::getSaveFileName(this, "Save as RTF", QString(), "Rich text (*.rtf)");
    if (path.isEmpty()) return;
    const xbase::NewFileMode mode(QFile::encodeName(path).toStdString());
    QFile file(path);
    const QByteArray rtf = RtfWriter::Write(*Editor->document());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(rtf) != rtf.size())
        WindowMessages().error("Unable to write " + path);
    mode.written();
}

void TLetterDesign::LoadRtf(bool insert) {
    const QString path = QFileDialog::getOpenFileName(this, insert ? "Insert RTF" : "Load RTF", QString(),
                                                      "Rich text (*.rtf);;All files (*)");
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        WindowMessages().error("Unable to open " + path);
        return;
    }
    const QByteArray rtf = file.read(16 * 1024 * 1024);
    if (!insert) {
        RtfReader::Read(rtf, Editor->document());
        return;
    }
    QTextDocument piece;
    RtfReader::Read(rtf, &piece);
    Editor->textCursor().insertFragment(QTextDocumentFragment(&piece));
}

void TLetterDesign::Find(bool replace) {
    if (!find_) find_ = new TFindDialog(Editor, this);
    find_->open(replace);
}

void TLetterDesign::FindNext() {
    // F3 repeats the last search, or opens Find when there was none.
    if (!find_ || find_->FindWhat->text().isEmpty()) {
        Find(false);
        return;
    }
    find_->FindNext();
}

void TLetterDesign::PageSettings() {
    TWPPageProp dialog(LetterPage::Of(*Editor->document()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.result().applyTo(Editor->document());
    updateRuler();
    Editor->setFocus();
}

void TLetterDesign::Preview(const QTextDocument& letter, xbase::Table& addresses, Settings* settings,
                            QWidget* parent, PrinterDevice*) {
    TRTFPreviewForm preview(letter, addresses, settings, parent);
    preview.exec();
}
