// The main window's commands that find and select records: Search, Search Memo and
// Find Next, Browse, the filter commands and Count Zip Codes.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include "CheckPrinters.h"
#include "PrinterDevice.h"
#include "RecordView.h"
#include "Search.h"
#include "TAddressBrowse.h"
#include "TAddressFilter.h"
#include "TAddressMain.h"
#include "TAddressSearch.h"
#include "LetterStore.h"
#include "TCountZipCodes.h"
#include "TqYLetters.h"
#include "TLabelSetupScreen.h"
#include "TQYEnvelopes.h"
#include "TReportSetup.h"
#include "TPrintCurrentRecord.h"
#include "SystemTables.h"
#include "TMemoSearching.h"
#include "TTagging.h"
#include "Table.h"
#include "WindowMessages.h"

DialogServices TAddressMain::dialogServices() const {
    // Help buttons open their window's page of the manual (HelpLink).
    return DialogServices{};
}

void TAddressMain::SearchRecords() {
    if (!table_ || editor_.editing()) return;
    TAddressSearch dialog(*table_, CurrentOrderName, dialogServices(), this);
    if (dialog.exec() == QDialog::Accepted && dialog.searched()) {
        sortPanel_->setText(dialog.orderChoice().panelText);
        for (int i = 0; i < sortActions_.size(); ++i) {
            sortActions_[i]->setChecked(i == dialog.orderChoice().checkedItem);
        }
    }
    RefreshRecord();
    SetButtons();
}

void TAddressMain::SearchMemo() {
    if (!table_ || editor_.editing()) return;
    const std::optional<QString> text = memoSearchPrompt(MemoSearchText);
    if (!text) return;
    MemoSearchText = text->left(Search::kMaxSearchText);
    memoSearchOffered_ = false;
    runMemoSearch(true);
}

void TAddressMain::FindNext() {
    if (!table_ || editor_.editing() || !memoSearchOffered_) return;
    runMemoSearch(false);
}

void TAddressMain::runMemoSearch(bool fromFirst) {
    freeze(true);
    const Search::MemoSearchResult result = TMemoSearching::Run(
        *table_, MemoSearchText,
        fromFirst ? Search::MemoSearchStart::FirstRecord : Search::MemoSearchStart::AfterCurrent, this);
    freeze(false);
    memoSearchOffered_ = result == Search::MemoSearchResult::Found;
    if (!memoSearchOffered_) WindowMessages().beep();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::BrowseRecords() {
    if (!table_) return;
    if (editor_.editing()) {
        WindowMessages().beep();
        return;
    }
    TAddressBrowse browse(*table_, home_, GlobalTagId, {[this] { RefreshRecord(); }, [this] { ToggleTag(); }},
                          dialogServices(), this);
    browse.exec();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::SetFilter() {
    if (!table_) return;
    if (editor_.editing()) {
        WindowMessages().beep();
        return;
    }
    const QString before = FilterState.expression;
    const uint32_t record = table_->recNo();
    const auto places = TAddressFilter::placesFrom(view_, [this](FilterCriteria::Entry e) -> const QWidget* {
        return e == FilterCriteria::Date ? view_->dateDisplay() : view_->edit(TAddressFilter::entryField(e));
    });
    TAddressFilter dialog(
        *table_, FilterState, GlobalTagId, [this] { RefreshRecord(); }, places, dialogServices(), this);
    dialog.exec();
    ApplyFilter();
    // Test moved to the first match. Under the filter the form started with (Cancel, or
    // Ok on the same filter) the record shown before is back; another filter starts at
    // its first record, since the one shown may be outside it.
    if (FilterState.expression == before && table_->go(record).ok()) {
        if (!editor_.hasCurrent()) (void)table_->goTop();
    } else {
        (void)table_->goTop();
    }
    RefreshRecord();
    SetButtons();
}

void TAddressMain::ClearFilter() {
    if (!table_ || editor_.editing()) return;
    Filter::ClearQueryVars(FilterState);
    ApplyFilter();
    (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::SaveFilter() {
    if (FilterState.expression.isEmpty()) return;
    filterFiles_.SaveFilter(FilterState.criteria, this);
}

void TAddressMain::RestoreFilter() {
    if (!table_) return;
    if (filterFiles_.RestoreFilter(&FilterState.criteria, this)) {
        ApplyFilter();
        (void)table_->goTop();
        RefreshRecord();
        SetButtons();
    }
}

void TAddressMain::TagAllFilterMatches() {
    if (!table_ || editor_.editing() || FilterState.expression.isEmpty()) return;
    DataEventTracking = false;
    freeze(true);
    TTagging::TagAllFilterMatches(*table_, GlobalTagId, this);
    DataEventTracking = true;
    freeze(false);
    (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::CountZipCodes() {
    if (!table_ || editor_.editing()) return;
    QString message;
    // The count ends in a report to print or preview, which needs a printer.
    if (!CheckPrinters(PrinterDevice::instance(), &message)) {
        WindowMessages().inform(message);
        return;
    }
    freeze(true);
    TCountZipCodes(*table_, &settings_, this).exec();
    freeze(false);
    SetCurrentOrder(CurrentOrderName);
    RefreshRecord();
    SetButtons();
}

void TAddressMain::PrintLetters() {
    if (!table_ || editor_.editing()) return;
    QString message;
    if (!CheckPrinters(PrinterDevice::instance(), &message)) {
        WindowMessages().inform(message);
        return;
    }
    if (table_->queryRecCount() == 0) return;
    std::unique_ptr<LetterStore> letters;
    if (!LetterStore::Open(home_, &letters, &message)) {
        WindowMessages().inform(message);
        return;
    }
    // The main window's data controls rest while the letters are open.
    freeze(true);
    {
        TqYLetters dialog(*letters, *table_, &settings_, !FilterState.expression.isEmpty(), this);
        dialog.exec();
    }
    freeze(false);
    RefreshRecord();
    SetButtons();
}

void TAddressMain::runPrintScreen(SystemTables::Kind kind, const std::function<void(xbase::Table&)>& screen) {
    if (!table_ || editor_.editing()) return;
    QString message;
    if (!CheckPrinters(PrinterDevice::instance(), &message)) {
        WindowMessages().inform(message);
        return;
    }
    std::unique_ptr<xbase::Table> definitions;
    if (!SystemTables::open(home_, kind, &definitions, &message)) {
        WindowMessages().error(message);
        return;
    }
    // The main window's data controls rest while the screen is open.
    freeze(true);
    const int printerIndex = PrinterDevice::instance().printerIndex();
    screen(*definitions);
    // The screen set paper, source and orientation on the device for its own jobs; a
    // fresh device takes the printer's own settings again, so that the next job (a
    // letter, a built-in report, the record sheet) does not print on envelope or label
    // paper. The printer chosen before the screen stays chosen.
    PrinterDevice::discard();
    (void)PrinterDevice::instance().setPrinterIndex(printerIndex);
    freeze(false);
    RefreshRecord();
    SetButtons();
}

void TAddressMain::PrintEnvelopes() {
    runPrintScreen(SystemTables::Kind::Envelope, [this](xbase::Table& envelopes) {
        TQYEnvelopes screen(envelopes, *table_, home_, !FilterState.expression.isEmpty(), this);
        screen.exec();
    });
}

void TAddressMain::PrintReports() {
    runPrintScreen(SystemTables::Kind::Report, [this](xbase::Table& reports) {
        TReportSetup screen(reports, *table_, home_, !FilterState.expression.isEmpty(), this);
        screen.exec();
    });
}

void TAddressMain::PrintCurrentRecord() {
    if (!table_ || editor_.editing() || table_->eof()) return;
    QString message;
    if (!CheckPrinters(PrinterDevice::instance(), &message)) {
        WindowMessages().inform(message);
        return;
    }
    TPrintCurrentRecord(*table_, this).exec();
}

void TAddressMain::PrintLabels() {
    runPrintScreen(SystemTables::Kind::Label, [this](xbase::Table& labels) {
        TLabelSetupScreen screen(labels, *table_, home_, !FilterState.expression.isEmpty(), this);
        screen.exec();
    });
}
