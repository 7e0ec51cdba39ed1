#include "TAddressFilter.h"

#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

using Entry = FilterCriteria::Entry;

// The entries in the order the main window's fields are visited with Tab.
constexpr Entry kFormOrder[] = {
    FilterCriteria::Last,     FilterCriteria::First,    FilterCriteria::Title,  FilterCriteria::Org,
    FilterCriteria::Address1, FilterCriteria::Address2, FilterCriteria::City,   FilterCriteria::State,
    FilterCriteria::Zip,      FilterCriteria::Country,  FilterCriteria::Phone1, FilterCriteria::Phone2,
    FilterCriteria::Fax,      FilterCriteria::EMail,    FilterCriteria::Codes,  FilterCriteria::Comment1,
    FilterCriteria::Comment2, FilterCriteria::Date,
};

constexpr int kMargin = 8;
constexpr int kLabelGap = 6;

const QString kEntryTips = QStringLiteral(
    "Records are shown whose %1 begins with what you type here, in any letter case.\n"
    "Start with $ to find the text anywhere in the field: $C finds every %1 containing C.\n"
    "Start with >=, >, <= or < to compare: >=50000 finds everything from 50000 upwards, as text.\n"
    "Separate values with ; to find any of them (Smith;Jones), with + to ask for all of them, and with ^ "
    "to leave out what follows (S^SM: beginning with S but not with SM). ; is split first: A;B+C means A, "
    "or both B and C.\n"
    "Leave the entry empty to let every value pass.");

}  // namespace

QString TAddressFilter::entryLabel(FilterCriteria::Entry entry) {
    static const char* const kLabels[FilterCriteria::kEntryCount] = {
        "Last Name", "First Name", "Title",     "Organization", "Address 1", "Address 2", "Zip/Postal Code",
        "City",      "State",      "Country",   "Phone 1",      "Phone 2",   "Fax",       "Email",
        "Date",      "Codes",      "Comment 1", "Comment 2",
    };
    return QString::fromLatin1(kLabels[int(entry)]);
}

QString TAddressFilter::entryField(FilterCriteria::Entry entry) {
    return entry == FilterCriteria::City ? QStringLiteral("CITY") : FilterCriteria::fieldExpression(entry);
}

QVector<TAddressFilter::EntryPlace> TAddressFilter::placesFrom(
    const QWidget* form, const std::function<const QWidget*(FilterCriteria::Entry)>& widgetFor) {
    QVector<EntryPlace> places;
    const QList<QLabel*> labels = form->findChildren<QLabel*>();
    for (Entry e : kFormOrder) {
        const QWidget* w = widgetFor(e);
        if (!w || w->width() <= 0 || w->height() <= 0 || (w != form && !form->isAncestorOf(w))) continue;
        EntryPlace place{e, QRect(w->mapTo(form, QPoint(0, 0)), w->size()), entryLabel(e), QRect()};
        for (const QLabel* l : labels) {
            if (l->buddy() != w) continue;
            place.label = l->text();
            place.label.remove(QLatin1Char('&'));
            if (l->width() > 0) place.labelRect = QRect(l->mapTo(form, QPoint(0, 0)), l->size());
            break;
        }
        places.push_back(place);
    }
    return places;
}

TAddressFilter::TAddressFilter(xbase::Table& table, Filter::State& state, const QString& globalTagId,
                               std::function<void()> recordMoved, const QVector<EntryPlace>& places,
                               DialogServices services, QWidget* parent)
    : QDialog(parent),
      table_(table),
      state_(state),
      remembered_(state),
      globalTagId_(globalTagId),
      recordMoved_(std::move(recordMoved)),
      services_(std::move(services)) {
    setObjectName("TAddressFilter");
    setWindowTitle("Address Filter");

    EntryPanel = new QWidget;
    EntryPanel->setObjectName("EntryPanel");
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) entries_[size_t(i)] = makeEntry(Entry(i));
    DateFormatLabel = new QLabel(kDateFormat, EntryPanel);
    DateFormatLabel->setObjectName("DateFormatLabel");
    QSizePolicy keepRoom = DateFormatLabel->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    DateFormatLabel->setSizePolicy(keepRoom);
    DateFormatLabel->hide();

    // Placed where the main window has its fields when it says where they all are.
    bool placedAll = true;
    for (Entry e : kFormOrder) {
        bool found = false;
        for (const EntryPlace& p : places) found = found || (p.entry == e && p.edit.isValid());
        placedAll = placedAll && found;
    }
    if (placedAll) {
        layOutPlaces(places);
    } else {
        layOutGrid();
    }

    TaggedCheckBox = new QCheckBox("Tagged");
    TaggedCheckBox->setObjectName("TaggedCheckBox");
    TaggedCheckBox->setWhatsThis("Shows only the tagged records (together with what the entries ask for).");
    ReverseCheckBox = new QCheckBox("Reverse");
    ReverseCheckBox->setObjectName("ReverseCheckBox");
    ReverseCheckBox->setWhatsThis("Shows the records that do not match, instead of those that do.");
    TaggedCheckBox->setChecked(state_.criteria.tagged);
    ReverseCheckBox->setChecked(state_.criteria.reverse);

    MatchLabel = new QLabel;
    MatchLabel->setObjectName("MatchLabel");
    HintLabel = new QLabel(kHint);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setWordWrap(true);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, services_.helpFor(this));
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    TestButton = new QPushButton("Test");
    TestButton->setObjectName("TestButton");
    ClearButton = new QPushButton("Clear");
    ClearButton->setObjectName("ClearButton");
    for (QPushButton* b : {OkButton, CancelButton, HelpButton, TestButton, ClearButton})
        b->setAutoDefault(false);
    connect(TestButton, &QPushButton::clicked, this, &TAddressFilter::TestButtonClick);
    connect(ClearButton, &QPushButton::clicked, this, &TAddressFilter::ClearButtonClick);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(TaggedCheckBox);
    boxes->addSpacing(16);
    boxes->addWidget(ReverseCheckBox);
    boxes->addSpacing(24);
    boxes->addWidget(MatchLabel, 1);
    buttons.addOwn(TestButton);
    buttons.addOwn(ClearButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(EntryPanel, 1);
    layout->addLayout(boxes);
    layout->addWidget(HintLabel);
    layout->addLayout(buttons.layout);

    QWidget* previous = entry(kFormOrder[0]);
    for (QWidget* w : std::initializer_list<QWidget*>{TaggedCheckBox, ReverseCheckBox, TestButton,
                                                      ClearButton, OkButton, CancelButton, HelpButton}) {
        setTabOrder(previous, w);
        previous = w;
    }
    entry(kFormOrder[0])->setFocus();
}

QLineEdit* TAddressFilter::makeEntry(FilterCriteria::Entry e) {
    auto* edit = new QLineEdit(state_.criteria[e], EntryPanel);
    edit->setObjectName("Filter" + entryField(e));
    if (e == FilterCriteria::Date) {
        QString hint = kDateHint;
        hint.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        edit->setToolTip(hint);
        edit->setWhatsThis(hint);
        edit->installEventFilter(this);
    } else {
        edit->setWhatsThis(kEntryTips.arg(entryLabel(e)));
    }
    return edit;
}

void TAddressFilter::layOutGrid() {
    auto* grid = new QGridLayout(EntryPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    constexpr int kRows = FilterCriteria::kEntryCount / 2;
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) {
        const Entry e = kFormOrder[i];
        const int row = i % kRows;
        const int column = (i / kRows) * 3;
        auto* label = new QLabel(entryLabel(e));
        label->setBuddy(entry(e));
        grid->addWidget(label, row, column);
        grid->addWidget(entry(e), row, column + 1);
    }
    grid->addWidget(DateFormatLabel, kRows, 4);
    grid->setColumnMinimumWidth(2, 16);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
}

void TAddressFilter::layOutPlaces(const QVector<EntryPlace>& places) {
    // The places as given, labels left of their edits where the caller did not say,
    // and the date's format line beneath its entry; then all moved inside the margins.
    struct Placed {
        QWidget* widget;
        QRect rect;
    };
    std::vector<Placed> placed;
    const QFontMetrics metrics(font());
    QRect dateEdit;
    QWidget* previous = nullptr;
    for (Entry e : kFormOrder) {
        const EntryPlace* p = nullptr;
        for (const EntryPlace& candidate : places) {
            if (candidate.entry == e && candidate.edit.isValid()) p = &candidate;
        }
        QLineEdit* edit = entry(e);
        placed.push_back({edit, p->edit});
        if (e == FilterCriteria::Date) dateEdit = p->edit;
        auto* label = new QLabel(p->label, EntryPanel);
        label->setBuddy(edit);
        QRect labelRect = p->labelRect;
        if (!labelRect.isValid()) {
            const int width = metrics.horizontalAdvance(p->label) + 2;
            labelRect = QRect(p->edit.left() - kLabelGap - width, p->edit.top(), width, p->edit.height());
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        placed.push_back({label, labelRect});
        if (previous) setTabOrder(previous, edit);
        previous = edit;
    }
    const QSize format = DateFormatLabel->sizeHint();
    placed.push_back({DateFormatLabel, QRect(QPoint(dateEdit.left(), dateEdit.bottom() + 2), format)});

    // The places copy the main window, where the tab set lies between the name panel and
    // the address page. The form has no tab set: a band between rows much wider than the
    // others is closed to the usual spacing.
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.rect.top() < b.rect.top(); });
    std::vector<int> gaps;
    int bottom = placed.front().rect.bottom();
    for (const Placed& p : placed) {
        if (p.rect.top() > bottom) gaps.push_back(p.rect.top() - bottom);
        bottom = std::max(bottom, p.rect.bottom());
    }
    if (!gaps.empty()) {
        std::vector<int> sorted = gaps;
        std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
        const int usual = sorted[sorted.size() / 2];
        int lifted = 0;
        bottom = placed.front().rect.bottom();
        for (Placed& p : placed) {
            const int top = p.rect.top() - lifted;
            if (top - bottom > 2 * usual + 4) lifted += top - bottom - usual;
            p.rect.translate(0, -lifted);
            bottom = std::max(bottom, p.rect.bottom());
        }
    }
    QRect bounds;
    for (const Placed& p : placed) bounds = bounds.united(p.rect);
    const QPoint shift = QPoint(kMargin, kMargin) - bounds.topLeft();
    for (const Placed& p : placed) p.widget->setGeometry(p.rect.translated(shift));
    EntryPanel->setMinimumSize(bounds.width() + 2 * kMargin, bounds.height() + 2 * kMargin);
}

FilterCriteria TAddressFilter::criteria() const {
    FilterCriteria c;
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) c.texts[size_t(i)] = entries_[size_t(i)]->text();
    c.tagged = TaggedCheckBox->isChecked();
    c.reverse = ReverseCheckBox->isChecked();
    return c;
}

uint32_t TAddressFilter::Test() {
    state_.criteria = criteria();
    const QString asked = Filter::BuildQueryString(state_.criteria, globalTagId_);
    MatchLabel->setText(kSearching);
    MatchLabel->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Filter::ApplyResult result = Filter::ApplyFilter(table_, state_, globalTagId_);
    QApplication::restoreOverrideCursor();
    if (!result.message.isEmpty()) WindowMessages().inform(result.message);

    asked_ = !asked.isEmpty();
    matches_ = result.matches;
    // A filter that matched nothing has been dropped, and so has one the table refused:
    // the line then says "No filter set", as it does for an empty form.
    MatchLabel->setText(Filter::MatchText(state_, matches_));

    (void)table_.goTop();
    if (recordMoved_) recordMoved_();
    return matches_;
}

void TAddressFilter::ClearButtonClick() {
    for (QLineEdit* e : entries_) e->clear();
    TaggedCheckBox->setChecked(false);
    ReverseCheckBox->setChecked(false);
    Test();
}

void TAddressFilter::OkButtonClick() {
    if (Test() > 0 || !asked_) {
        accept();
        return;
    }
    WindowMessages().beep();
}

void TAddressFilter::reject() {
    state_ = remembered_;
    QDialog::reject();
}

bool TAddressFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == entry(FilterCriteria::Date)) {
        if (event->type() == QEvent::FocusIn) DateFormatLabel->show();
        if (event->type() == QEvent::FocusOut) DateFormatLabel->hide();
    }
    return QDialog::eventFilter(watched, event);
}
