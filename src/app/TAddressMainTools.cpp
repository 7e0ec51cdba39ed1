// The main window's Utilities commands that open the maintenance tools, and the
// dialer of the address page. Each sets up the table as its tool expects it and puts
// the window's own state (query, order, record) back afterwards.

#include <QFile>

#include "AppHome.h"
#include "DuplicateCheck.h"
#include "Filter.h"
#include "RecordView.h"
#include "SortOrders.h"
#include "StateZipCheck.h"
#include "SystemTables.h"
#include "TAddressMain.h"
#include "TConvertToUpper.h"
#include "TDeleteRecords.h"
#include "TDupCheck.h"
#include "TQYDialer.h"
#include "TSearchAndReplace.h"
#include "TStateZipCheck.h"
#include "Table.h"
#include "WindowMessages.h"

void TAddressMain::CheckStateAndZip() {
    if (!table_ || editor_.editing()) return;
    if (!QFile::exists(home_.existingFile(QStringLiteral("sysdata/") +
                                          SystemTables::fileName(SystemTables::Kind::Csz)))) {
        WindowMessages().inform(StateZipCheck::kStateTableRemovedMessage);
        return;
    }
    DataEventTracking = false;
    freeze(true);
    const std::string query = table_->queryText();
    (void)table_->query(Filter::kNotDeleted);
    {
        TStateZipCheck dialog(*table_, home_, GlobalTagId, dialogServices(), this);
        dialog.exec();
    }
    (void)table_->query(query);
    DataEventTracking = true;
    SetCurrentOrder(CurrentOrderName);
    freeze(false);
    if (table_->eof()) (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::CheckDuplicates() {
    if (!table_ || editor_.editing()) return;
    DataEventTracking = false;
    freeze(true);
    (void)table_->query(Filter::kNotDeleted);
    const QString indexPath = home_.existingFile(DuplicateCheck::kIndexFileName);
    {
        TDupCheck dialog(*table_, indexPath, GlobalTagId, dialogServices(), this);
        dialog.exec();
    }
    DataEventTracking = true;
    freeze(false);
    ApplyFilter();
    // The dialog deletes its index; this is the second safeguard.
    if (QFile::exists(indexPath)) QFile::remove(indexPath);
    SetCurrentOrder(CurrentOrderName);
    if (table_->eof()) (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::ConvertCase() {
    if (!table_ || editor_.editing()) return;
    DataEventTracking = false;
    const uint32_t record = table_->recNo();
    freeze(true);
    {
        TConvertToUpper dialog(*table_, !FilterState.expression.isEmpty(), dialogServices(), this);
        dialog.exec();
    }
    freeze(false);
    if (record != 0) (void)table_->go(record);
    DataEventTracking = true;
    RefreshRecord();
    SetButtons();
}

void TAddressMain::DeleteManyRecords() {
    if (!table_ || editor_.editing()) return;
    DataEventTracking = false;
    freeze(true);
    {
        TDeleteRecords dialog(*table_, FilterState.expression, dialogServices(), this);
        dialog.exec();
    }
    afterRecordsChanged();
}

void TAddressMain::SearchAndReplace() {
    if (!table_ || editor_.editing()) return;
    DataEventTracking = false;
    freeze(true);
    {
        TSearchAndReplace dialog(*table_, FilterState.expression, dialogServices(), this);
        dialog.exec();
    }
    afterRecordsChanged();
}

void TAddressMain::afterRecordsChanged() {
    ApplyFilter();
    (void)table_->goTop();
    RefreshRecord();
    freeze(false);
    SetCurrentOrder(CurrentOrderName);
    DataEventTracking = true;
    SetButtons();
}

void TAddressMain::DialPhone(int which) {
    if (!table_ || editor_.editing() || !editor_.hasCurrent()) return;
    const QString number =
        editor_.values().value(which == 2 ? QStringLiteral("PHONE2") : QStringLiteral("PHONE"));
    TQYDialer dialog(settings_, number, dialogServices(), this);
    if (!dialerDevice.isEmpty()) dialog.setDevicePath(dialerDevice);
    dialog.exec();
}
