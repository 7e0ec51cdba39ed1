#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;

// "Select a Date": a month calendar with the chosen date above it in the long date
// format. The result says what to do with the record's date.
class TDateSelect : public QDialog {
    Q_OBJECT

  public:
    enum class Choice { Cancel, Ok, NoDate };

    TDateSelect(const QDate& start, QWidget* parent = nullptr);

    Choice choice() const { return choice_; }
    QDate selectedDate() const;

    QCalendarWidget* Calendar;
    QLabel* DateCaption;
    QPushButton* YearBackButton;
    QPushButton* MonthBackButton;
    QPushButton* TodayButton;
    QPushButton* MonthForwardButton;
    QPushButton* YearForwardButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* NoDateButton;

  private:
    void select(const QDate& date);
    void finish(Choice choice);

    Choice choice_ = Choice::Cancel;
};
