#pragma once

#include <QMap>
#include <QString>
#include <QWidget>

#include "RecordEditor.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
struct Preferences;

namespace xbase {
class Table;
}

// The record part of the main window: the name panel, the tab set and its two pages
// (address information and memo). It shows values and reports what the user does;
// the main window decides what happens.
//
// The field edits are read-only while the record is not being edited. Enter in a
// field moves to the next one. The keyboard's Insert key switches between inserting
// and overwriting what is typed, in every field and in the memo.
class RecordView : public QWidget {
    Q_OBJECT

  public:
    explicit RecordView(QWidget* parent = nullptr);

    // Each edit holds at most its field's width in `table` (nullptr: the usual widths).
    void setFieldWidths(const xbase::Table* table);

    // Shows a record. The memo is loaded only when `loadMemo` (the record is not being
    // edited); loading it does not count as typing.
    void showValues(const RecordValues& values, const QString& displayDate, bool tagged, bool loadMemo);
    // The memo stays read-only, editing or not, while `problem` (why the record's memo
    // cannot be read) is not empty; the memo page then shows the problem.
    void setMemoProblem(const QString& problem);
    bool memoLocked() const { return !memoProblem_.isEmpty(); }
    void setEditing(bool editing);
    void setRecordPresent(bool present);

    // The field edits by field name ("LNAME", ...), the memo and the other controls.
    QLineEdit* edit(const QString& field) const { return edits_.value(field); }
    QStringList fields() const { return edits_.keys(); }
    QPlainTextEdit* memo() const { return memo_; }
    QString memoText() const;
    void clearMemo();
    QLineEdit* dateDisplay() const { return dateDisplay_; }
    QPushButton* dateButton() const { return dateButton_; }
    QCheckBox* taggedBox() const { return tagged_; }
    QPushButton* dialPhone1() const { return dial1_; }
    QPushButton* dialPhone2() const { return dial2_; }
    QPushButton* searchMemoButton() const { return searchMemo_; }
    QPushButton* findNextButton() const { return findNext_; }
    QTabBar* tabSet() const { return tabs_; }

    // 0: the address page, 1: the memo page.
    void selectPage(int page);
    int page() const;

    // A field edit or the memo: the controls that show the record.
    bool isDataControl(const QWidget* widget) const;

    // Leaves the edits that `prefs` says to skip out of the tab order while `flag`.
    void SetSkipFields(bool flag, const Preferences& prefs);
    // The edit a new record starts in.
    QWidget* firstFieldForNewRecord(const Preferences& prefs) const;

    // Typing overwrites instead of inserting while this is off (the Insert key).
    static bool insertMode();
    static void setInsertMode(bool on);

  signals:
    void fieldEdited(const QString& field, const QString& text);
    // A double click on a field or the memo, or typing into the memo while browsing.
    void editRequested();
    // Enter was pressed in the last field a person types into.
    void lastFieldPassed();
    void taggedClicked();
    void dateClicked();
    void dialPhone1Clicked();
    void dialPhone2Clicked();
    void searchMemoClicked();
    void findNextClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* addEdit(const QString& field, const QString& whatsThis);
    QWidget* buildNamePanel();
    QWidget* buildAddressPage();
    QWidget* buildMemoPage();
    bool handleKey(QWidget* target, class QKeyEvent* key);
    void focusNextField(QLineEdit* from);

    QMap<QString, QLineEdit*> edits_;
    QPlainTextEdit* memo_ = nullptr;
    QLineEdit* dateDisplay_ = nullptr;
    QPushButton* dateButton_ = nullptr;
    QCheckBox* tagged_ = nullptr;
    QPushButton* dial1_ = nullptr;
    QPushButton* dial2_ = nullptr;
    QPushButton* searchMemo_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    bool editing_ = false;
    QString memoProblem_;
};
