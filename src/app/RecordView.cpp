#include "RecordView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QValidator>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "Preferences.h"
#include "Table.h"

namespace {

bool gInsertMode = true;

// The fields a person types into, in the order Tab and Enter walk them: the name panel,
// then the address page.
const QStringList kNameFields = {"LNAME", "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG"};
const QStringList kPageFields = {"STREET", "STREET2", "CITY",  "STATE", "ZIP",   "COUNTRY", "PHONE",
                                 "PHONE2", "FAX",     "EMAIL", "CODES", "USER1", "USER2"};

// The middle initial is entered in upper case.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// Whether a key press types a character (as opposed to moving, deleting or a command).
bool typesCharacter(const QKeyEvent* k) {
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString t = k->text();
    return !t.isEmpty() && t[0].unicode() >= 32 && t[0].unicode() != 127;
}

// Skip preferences by field edit.
bool skipOf(const QString& field, const Preferences& p) {
    static const QMap<QString, bool Preferences::*> skips = {
        {"LNAME", &Preferences::skipLastName},
        {"FNAME", &Preferences::skipFirstName},
        {"MIDDLE", &Preferences::skipMiddleInitial},
        {"PREFIX", &Preferences::skipPrefix},
        {"TITLE", &Preferences::skipTitle},
        {"ORG", &Preferences::skipOrganization},
        {"STREET2", &Preferences::skipAddress2},
        {"STATE", &Preferences::skipState},
        {"ZIP", &Preferences::skipZip},
        {"COUNTRY", &Preferences::skipCountry},
        {"PHONE", &Preferences::skipPhone1},
        {"PHONE2", &Preferences::skipPhone2},
        {"FAX", &Preferences::skipFax},
        {"EMAIL", &Preferences::skipEmail},
        {"CODES", &Preferences::skipCodes},
        {"USER1", &Preferences::skipComments1},
        {"USER2", &Preferences::skipComments2},
    };
    auto it = skips.find(field);
    return it != skips.end() && p.*(it.value());
}

QLabel* label(const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

bool RecordView::insertMode() { return gInsertMode; }

void RecordView::setInsertMode(bool on) { gInsertMode = on; }

RecordView::RecordView(QWidget* parent) : QWidget(parent) {
    setObjectName("RecordView");
    tabs_ = new QTabBar;
    tabs_->setObjectName("TabSet");
    tabs_->addTab("Address &Information");
    tabs_->addTab("&Memo");
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setWhatsThis("Switches between the address information and the memo of the record.");

    pages_ = new QStackedWidget;
    QWidget* namePanel = buildNamePanel();
    pages_->addWidget(buildAddressPage());
    pages_->addWidget(buildMemoPage());
    connect(tabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);

    auto* pageFrame = new QFrame;
    pageFrame->setFrameShape(QFrame::StyledPanel);
    auto* pageLayout = new QVBoxLayout(pageFrame);
    pageLayout->setContentsMargins(8, 8, 8, 8);
    pageLayout->addWidget(pages_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(namePanel);
    layout->addSpacing(8);
    layout->addWidget(tabs_);
    layout->addWidget(pageFrame, 1);

    // Tab order: the name panel, the tab set, then the address page.
    QWidget* previous = nullptr;
    for (const QString& f : kNameFields) {
        if (previous) setTabOrder(previous, edits_[f]);
        previous = edits_[f];
    }
    setTabOrder(previous, tabs_);
    previous = tabs_;
    for (const QString& f : kPageFields) {
        setTabOrder(previous, edits_[f]);
        previous = edits_[f];
    }
    for (QWidget* w : std::initializer_list<QWidget*>{dateDisplay_, dateButton_, tagged_, dial1_, dial2_,
                                                      memo_, searchMemo_, findNext_}) {
        setTabOrder(previous, w);
        previous = w;
    }
    setFieldWidths(nullptr);
    setEditing(false);
}

QLineEdit* RecordView::addEdit(const QString& field, const QString& whatsThis) {
    auto* e = new QLineEdit;
    e->setObjectName("edit" + field);
    e->setWhatsThis(whatsThis);
    e->installEventFilter(this);
    connect(e, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { emit fieldEdited(field, text); });
    edits_.insert(field, e);
    return e;
}

QWidget* RecordView::buildNamePanel() {
    auto* panel = new QFrame;
    panel->setObjectName("NamePanel");
    panel->setFrameShape(QFrame::StyledPanel);
    QLineEdit* last =
        addEdit("LNAME",
                "The person's last name (family name). The file is sorted by it unless you choose another order, and search and the duplicate check look at it first. Labels and letters print it after the first name.");
    QLineEdit* first = addEdit("FNAME",
                "The first name, as it should appear on labels and in letters (\"Dear <First Name>\"). Sorting by last name uses it to order people with the same last name.");
    QLineEdit* middle = addEdit("MIDDLE",
                "The middle initial: one letter, kept in capitals. The address block prints it between the first and last name, followed by a full stop.");
    middle->setValidator(new UpperCaseValidator(middle));
    middle->setMaximumWidth(36);
    QLineEdit* prefix = addEdit("PREFIX",
                "What comes before the name on an address: Mr., Ms., Dr. Leave it empty to print the name alone.");
    QLineEdit* title = addEdit("TITLE",
                "The person's job title (Treasurer, Sales Manager). The address block prints it on the line under the name when its Title box is ticked.");
    QLineEdit* org = addEdit("ORG",
                "The company, club or other organization. The address block prints it under the name (and title); the file can be sorted by it.");

    auto* g = new QGridLayout(panel);
    g->setContentsMargins(10, 8, 10, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    g->addWidget(label("Last Name", last), 0, 0);
    g->addWidget(last, 0, 1);
    g->addWidget(label("First Name", first), 0, 2);
    g->addWidget(first, 0, 3);
    g->addWidget(label("MI", middle), 0, 4);
    g->addWidget(middle, 0, 5);
    g->addWidget(label("Prefix", prefix), 1, 0);
    g->addWidget(prefix, 1, 1);
    g->addWidget(label("Title", title), 1, 2);
    g->addWidget(title, 1, 3, 1, 3);
    g->addWidget(label("Organization", org), 2, 0);
    g->addWidget(org, 2, 1, 1, 5);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return panel;
}

QWidget* RecordView::buildAddressPage() {
    auto* page = new QWidget;
    page->setObjectName("AddressPage");
    QLineEdit* street = addEdit("STREET",
                "The first street line of the address: house number and street, or a post office box. The address block prints it under the name and organization.");
    QLineEdit* street2 = addEdit("STREET2",
                "A second address line: apartment, suite, building or c/o. Left out of the address block when empty.");
    QLineEdit* city = addEdit("CITY",
                "The city or town. The address block prints it on the last line with the state and ZIP code. With \"Automatically insert city and state/province\" in Preferences it is filled in from the ZIP code.");
    QLineEdit* state = addEdit("STATE",
                "The state or province, best as the two-letter postal abbreviation (IL, ON). Printed after the city; the state and ZIP check compares it with the ZIP code.");
    QLineEdit* zip = addEdit("ZIP",
                "The ZIP or postal code. Printed after the state (or where the address block puts it); bulk-mail presort, the ZIP count and postal barcodes use it, and the file can be sorted by it. Type the ZIP+4 as 12345-6789.");
    QLineEdit* country = addEdit("COUNTRY",
                "The country, for foreign addresses only: leave it empty for your own country. The address block prints it as the last line when its Country box is ticked.");
    QLineEdit* phone = addEdit("PHONE",
                "The first phone number, as you want to see it printed (the built-in reports list it). The Dial Phone 1 button dials it.");
    QLineEdit* phone2 = addEdit("PHONE2",
                "A second phone number (mobile, work). The Dial Phone 2 button dials it.");
    QLineEdit* fax = addEdit("FAX",
                "The fax number. Built-in reports 2 and 3 list it.");
    QLineEdit* email = addEdit("EMAIL",
                "The e-mail address.");
    QLineEdit* codes =
        addEdit("CODES",
                "Code letters or words of your own that put the record into groups, such as M for member or X for Christmas card. A filter with $M selects every record whose codes contain M, to print labels for just that group.");
    QLineEdit* user1 = addEdit("USER1",
                "A comment of your own. It can be printed with a field object on labels and reports, and searched with a filter.");
    QLineEdit* user2 = addEdit("USER2",
                "A second comment of your own, used like the first.");

    dateDisplay_ = new QLineEdit;
    dateDisplay_->setObjectName("DateDisplay");
    dateDisplay_->setReadOnly(true);
    dateDisplay_->setMaximumWidth(120);
    dateDisplay_->setWhatsThis("The date of the record. Use the Date button to change it.");
    dateDisplay_->installEventFilter(this);
    dateButton_ = new QPushButton("Date");
    dateButton_->setObjectName("DateButton");
    dateButton_->setWhatsThis("Opens a calendar to choose the date of the record, or to remove it.");
    connect(dateButton_, &QPushButton::clicked, this, &RecordView::dateClicked);
    tagged_ = new QCheckBox("Tagged");
    tagged_->setObjectName("TaggedCheckBox");
    tagged_->setWhatsThis("Tags or untags the record. Tagged records can be printed or selected together.");
    connect(tagged_, &QCheckBox::clicked, this, &RecordView::taggedClicked);
    dial1_ = new QPushButton("Dial Phone &1");
    dial1_->setObjectName("DialPhone1Button");
    dial1_->setWhatsThis("Dials the first phone number through the modem.");
    connect(dial1_, &QPushButton::clicked, this, &RecordView::dialPhone1Clicked);
    dial2_ = new QPushButton("Dial Phone &2");
    dial2_->setObjectName("DialPhone2Button");
    dial2_->setWhatsThis("Dials the second phone number through the modem.");
    connect(dial2_, &QPushButton::clicked, this, &RecordView::dialPhone2Clicked);

    auto* g = new QGridLayout(page);
    g->setContentsMargins(4, 4, 4, 4);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    // Left: the address; right: phones and the rest.
    g->addWidget(label("Address 1", street), 0, 0);
    g->addWidget(street, 0, 1, 1, 3);
    g->addWidget(label("Address 2", street2), 1, 0);
    g->addWidget(street2, 1, 1, 1, 3);
    g->addWidget(label("City", city), 2, 0);
    g->addWidget(city, 2, 1, 1, 3);
    g->addWidget(label("State", state), 3, 0);
    g->addWidget(state, 3, 1);
    g->addWidget(label("Zip/Postal Code", zip), 3, 2);
    g->addWidget(zip, 3, 3);
    g->addWidget(label("Country", country), 4, 0);
    g->addWidget(country, 4, 1, 1, 3);

    g->setColumnMinimumWidth(4, 16);
    g->addWidget(label("Phone 1", phone), 0, 5);
    g->addWidget(phone, 0, 6);
    g->addWidget(dial1_, 0, 7);
    g->addWidget(label("Phone 2", phone2), 1, 5);
    g->addWidget(phone2, 1, 6);
    g->addWidget(dial2_, 1, 7);
    g->addWidget(label("Fax", fax), 2, 5);
    g->addWidget(fax, 2, 6, 1, 2);
    g->addWidget(label("Email", email), 3, 5);
    g->addWidget(email, 3, 6, 1, 2);
    g->addWidget(label("Codes", codes), 4, 5);
    g->addWidget(codes, 4, 6, 1, 2);

    g->addWidget(label("Comment 1", user1), 5, 0);
    g->addWidget(user1, 5, 1, 1, 7);
    g->addWidget(label("Comment 2", user2), 6, 0);
    g->addWidget(user2, 6, 1, 1, 7);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateDisplay_);
    dateRow->addWidget(dateButton_);
    dateRow->addSpacing(24);
    dateRow->addWidget(tagged_);
    dateRow->addStretch(1);
    g->addWidget(label("Date", dateDisplay_), 7, 0);
    g->addLayout(dateRow, 7, 1, 1, 7);
    g->setColumnStretch(1, 2);
    g->setColumnStretch(3, 1);
    g->setColumnStretch(6, 2);
    g->setRowStretch(8, 1);
    return page;
}

QWidget* RecordView::buildMemoPage() {
    auto* page = new QWidget;
    page->setObjectName("MemoPage");
    memo_ = new QPlainTextEdit;
    memo_->setObjectName("MemoEdit");
    memo_->setWhatsThis("Notes of any length kept with the record. Typing here starts editing the record.");
    memo_->setTabChangesFocus(true);
    memo_->installEventFilter(this);
    searchMemo_ = new QPushButton("Search &Memo");
    searchMemo_->setObjectName("SearchMemoButton");
    searchMemo_->setWhatsThis("Finds the first record whose memo contains a text.");
    connect(searchMemo_, &QPushButton::clicked, this, &RecordView::searchMemoClicked);
    findNext_ = new QPushButton("Find &Next");
    findNext_->setObjectName("FindNextButton");
    findNext_->setWhatsThis("Finds the next record whose memo contains the same text.");
    findNext_->hide();
    connect(findNext_, &QPushButton::clicked, this, &RecordView::findNextClicked);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(searchMemo_);
    buttons->addWidget(findNext_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(memo_, 1);
    layout->addLayout(buttons);
    return page;
}

void RecordView::setFieldWidths(const xbase::Table* table) {
    const FieldLengths defaults;
    for (const AddressFile::Field& f : AddressFile::fields()) {
        QLineEdit* e = edits_.value(QString::fromLatin1(f.name));
        if (!e) continue;
        int width = defaults.width(QString::fromLatin1(f.name));
        if (width == 0) width = f.width;
        if (table) {
            const int index = table->fieldIndex(f.name);
            if (index >= 0) width = table->field(index).width;
        }
        e->setMaxLength(width);
        // What's This ends with the room the field has in this file.
        QString text = e->property("whatsThisText").toString();
        if (text.isEmpty()) {
            text = e->whatsThis();
            e->setProperty("whatsThisText", text);
        }
        e->setWhatsThis(text + QStringLiteral(" Up to %1 characters.").arg(width));
    }
}

void RecordView::showValues(const RecordValues& values, const QString& displayDate, bool tagged,
                            bool loadMemo) {
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
        const QString v = values.value(it.key());
        if (it.value()->text() != v) it.value()->setText(v);
    }
    dateDisplay_->setText(displayDate);
    tagged_->setChecked(tagged);
    if (loadMemo) {
        const QSignalBlocker block(memo_);
        memo_->setPlainText(values.value("MEMO"));
    }
}

void RecordView::setMemoProblem(const QString& problem) {
    if (problem == memoProblem_) return;
    memoProblem_ = problem;
    memo_->setPlaceholderText(problem.isEmpty() ? QString() : "The memo cannot be read: " + problem);
    setEditing(editing_);
}

void RecordView::setEditing(bool editing) {
    editing_ = editing;
    for (QLineEdit* e : edits_) e->setReadOnly(!editing);
    memo_->setReadOnly(!editing || memoLocked());
    memo_->setOverwriteMode(!gInsertMode);
}

void RecordView::setRecordPresent(bool present) {
    dateButton_->setEnabled(present);
    tagged_->setEnabled(present);
}

QString RecordView::memoText() const { return memo_->toPlainText(); }

void RecordView::clearMemo() {
    const QSignalBlocker block(memo_);
    memo_->clear();
}

void RecordView::selectPage(int page) { tabs_->setCurrentIndex(page); }

int RecordView::page() const { return tabs_->currentIndex(); }

bool RecordView::isDataControl(const QWidget* widget) const {
    if (!widget) return false;
    if (widget == memo_ || widget == dateDisplay_ || widget->parentWidget() == memo_) return true;
    for (const QLineEdit* e : edits_) {
        if (e == widget) return true;
    }
    return false;
}

void RecordView::SetSkipFields(bool flag, const Preferences& prefs) {
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
        it.value()->setFocusPolicy(flag && skipOf(it.key(), prefs) ? Qt::ClickFocus : Qt::StrongFocus);
    }
    dateDisplay_->setFocusPolicy(flag && prefs.skipDate ? Qt::ClickFocus : Qt::StrongFocus);
}

QWidget* RecordView::firstFieldForNewRecord(const Preferences& p) const {
    if (!p.skipLastName && edits_["LNAME"]->text().isEmpty()) return edits_["LNAME"];
    if (!p.skipFirstName && edits_["FNAME"]->text().isEmpty()) return edits_["FNAME"];
    if (!p.skipMiddleInitial) return edits_["MIDDLE"];
    if (!p.skipPrefix) return edits_["PREFIX"];
    if (!p.skipTitle) return edits_["TITLE"];
    if (!p.skipOrganization) return edits_["ORG"];
    return edits_["STREET"];
}

bool RecordView::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (!editing_) emit editRequested();
        return false;
    }
    if (event->type() == QEvent::KeyPress) return handleKey(w, static_cast<QKeyEvent*>(event));
    return false;
}

void RecordView::focusNextField(QLineEdit* from) {
    // Enter goes from field to field, past the tab set that Tab stops at, and leaves out
    // the fields the preferences skip (they take the focus only from a click).
    const QStringList order = kNameFields + kPageFields;
    for (int i = int(order.indexOf(edits_.key(from))) + 1; i > 0 && i < order.size(); ++i) {
        QLineEdit* next = edits_.value(order[i]);
        if (!next->isEnabled() || !(next->focusPolicy() & Qt::TabFocus)) continue;
        if (kPageFields.contains(order[i])) tabs_->setCurrentIndex(0);
        next->setFocus(Qt::TabFocusReason);
        return;
    }
    emit lastFieldPassed();
}

bool RecordView::handleKey(QWidget* target, QKeyEvent* k) {
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    if (k->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        gInsertMode = !gInsertMode;
        memo_->setOverwriteMode(!gInsertMode);
        return true;
    }
    if (target == memo_) {
        // Typing into the memo starts editing the record.
        const bool typing =
            typesCharacter(k) || k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete ||
            ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && mods == Qt::NoModifier);
        if (typing && memoLocked()) return true;  // a memo that cannot be read is not edited
        if (typing && !editing_) {
            emit editRequested();
            if (!editing_) return true;
        }
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(target);
    if (!edit) return false;
    if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        focusNextField(edit);
        return true;
    }
    if (!gInsertMode && typesCharacter(k) && !edit->isReadOnly() && !edit->hasSelectedText() &&
        edit->cursorPosition() < edit->text().size()) {
        // Overwrite: the character after the caret is replaced by the one typed.
        edit->setSelection(edit->cursorPosition(), 1);
    }
    return false;
}
