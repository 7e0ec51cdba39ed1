#include "TDateSelect.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>


TDateSelect::TDateSelect(const QDate& start, QWidget* parent) : QDialog(parent) {
    setObjectName("TDateSelect");
    setWindowTitle("Select a Date");

    DateCaption = new QLabel;
    DateCaption->setObjectName("DateCaption");
    DateCaption->setAlignment(Qt::AlignCenter);
    QFont bold = DateCaption->font();
    bold.setBold(true);
    DateCaption->setFont(bold);
    Calendar = new QCalendarWidget;
    Calendar->setObjectName("Calendar");
    Calendar->setGridVisible(true);
    connect(Calendar, &QCalendarWidget::selectionChanged, this, [this] {
        DateCaption->setText(QLocale::system().toString(Calendar->selectedDate(), QLocale::LongFormat));
    });
    connect(Calendar, &QCalendarWidget::activated, this, [this] { finish(Choice::Ok); });

    auto button = [](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    YearBackButton = button("Year-", "YearBackButton");
    MonthBackButton = button("Month-", "MonthBackButton");
    TodayButton = button("Today", "TodayButton");
    MonthForwardButton = button("Month +", "MonthForwardButton");
    YearForwardButton = button("Year+", "YearForwardButton");
    OkButton = button("Ok", "OkButton");
    OkButton->setDefault(true);
    CancelButton = button("Cancel", "CancelButton");
    NoDateButton = button("No Date", "NoDateButton");
    connect(YearBackButton, &QPushButton::clicked, this, [this] { select(selectedDate().addYears(-1)); });
    connect(MonthBackButton, &QPushButton::clicked, this, [this] { select(selectedDate().addMonths(-1)); });
    connect(TodayButton, &QPushButton::clicked, this, [this] { select(QDate::currentDate()); });
    connect(MonthForwardButton, &QPushButton::clicked, this, [this] { select(selectedDate().addMonths(1)); });
    connect(YearForwardButton, &QPushButton::clicked, this, [this] { select(selectedDate().addYears(1)); });
    connect(OkButton, &QPushButton::clicked, this, [this] { finish(Choice::Ok); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { finish(Choice::Cancel); });
    connect(NoDateButton, &QPushButton::clicked, this, [this] { finish(Choice::NoDate); });

    auto* steps = new QHBoxLayout;
    for (QPushButton* b :
         {YearBackButton, MonthBackButton, TodayButton, MonthForwardButton, YearForwardButton}) {
        steps->addWidget(b);
    }
    auto* ends = new QHBoxLayout;
    ends->addStretch(1);
    for (QPushButton* b : {OkButton, CancelButton, NoDateButton}) ends->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DateCaption);
    layout->addWidget(Calendar);
    layout->addLayout(steps);
    layout->addLayout(ends);
    select(start.isValid() ? start : QDate::currentDate());
}

QDate TDateSelect::selectedDate() const { return Calendar->selectedDate(); }

void TDateSelect::select(const QDate& date) {
    Calendar->setSelectedDate(date);
    Calendar->setCurrentPage(date.year(), date.month());
    DateCaption->setText(QLocale::system().toString(date, QLocale::LongFormat));
}

void TDateSelect::finish(Choice choice) {
    choice_ = choice;
    if (choice == Choice::Cancel) {
        reject();
    } else {
        accept();
    }
}
