#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

#include "DialogServices.h"
#include "Filter.h"
#include "FilterCriteria.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace xbase {
class Table;
}

// "Address Filter": the filter form. One entry per address field, laid out where the
// main window shows that field, plus Tagged and Reverse. It works on the main window's
// filter state, which it borrows:
//  - Test puts the entries and boxes into the state's criteria, applies the filter to
//    the table, shows the number of matches and goes to the first record;
//  - Clear empties the form, then tests;
//  - Ok tests and closes when records match or nothing is asked for; a filter that
//    matches nothing (or that the table refused, with its message) beeps and keeps the
//    form open so that it can be changed;
//  - Cancel puts the state back as it was when the form opened.
// Afterwards the main window applies its filter state (ApplyFilter) and refreshes.
class TAddressFilter : public QDialog {
    Q_OBJECT

  public:
    // Where an entry goes, in the coordinates of the form's entry panel: the edit's
    // rectangle, and its label with the label's rectangle (empty: just left of the edit).
    struct EntryPlace {
        FilterCriteria::Entry entry;
        QRect edit;
        QString label;
        QRect labelRect;
    };

    // The main window's label of an entry ("Last Name", "Zip/Postal Code", "Date", ...).
    static QString entryLabel(FilterCriteria::Entry entry);
    // The main window's field that an entry sits on ("LNAME", ..., "CITY", "DATE").
    static QString entryField(FilterCriteria::Entry entry);
    // The entries placed over the widgets of a form: for each entry the geometry of
    // `widgetFor(entry)` in `form`'s coordinates, labelled with the text and place of
    // the label whose buddy that widget is (else entryLabel()). Entries without a widget,
    // or whose widget has no size yet, are left out.
    static QVector<EntryPlace> placesFrom(
        const QWidget* form, const std::function<const QWidget*(FilterCriteria::Entry)>& widgetFor);

    inline static const QString kHint = QStringLiteral(
        "Hint: to look for only part of a value, first type in a $ and then the value to look for. As an "
        "example, "
        "to find all records containing the code letter C in the Codes field, type in $C. Right click on any "
        "field "
        "or press HELP for more helpful tips");
    inline static const QString kDateHint =
        QStringLiteral("Note: enter dates in the form: YYYYMMDD\r(i.e. 19970428 for April 28, 1997)");
    inline static const QString kDateFormat = QStringLiteral("(YYYYMMDD)");
    inline static const QString kSearching = QStringLiteral("Searching...");

    // `places`: where the entries go; when it does not place all eighteen, a grid of
    // its own. `recordMoved` runs after Test moved the table to its first record.
    TAddressFilter(xbase::Table& table, Filter::State& state, const QString& globalTagId,
                   std::function<void()> recordMoved = {}, const QVector<EntryPlace>& places = {},
                   DialogServices services = {}, QWidget* parent = nullptr);

    QLineEdit* entry(FilterCriteria::Entry e) const { return entries_[size_t(e)]; }
    // The form as it stands.
    FilterCriteria criteria() const;
    // The matches of the last Test.
    uint32_t matches() const { return matches_; }

    QWidget* EntryPanel;
    QCheckBox* TaggedCheckBox;
    QCheckBox* ReverseCheckBox;
    QLabel* MatchLabel;
    QLabel* HintLabel;
    QLabel* DateFormatLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QPushButton* TestButton;
    QPushButton* ClearButton;

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TestButtonClick() { Test(); }
    void ClearButtonClick();
    void OkButtonClick();
    // Applies the form; the number of matching records.
    uint32_t Test();

    QLineEdit* makeEntry(FilterCriteria::Entry e);
    void layOutGrid();
    void layOutPlaces(const QVector<EntryPlace>& places);

    xbase::Table& table_;
    Filter::State& state_;
    const Filter::State remembered_;
    QString globalTagId_;
    std::function<void()> recordMoved_;
    DialogServices services_;
    std::array<QLineEdit*, FilterCriteria::kEntryCount> entries_{};
    uint32_t matches_ = 0;
    bool asked_ = false;  // the last Test asked for something
};
