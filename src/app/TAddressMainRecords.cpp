// The record commands of the main window: add, edit, save, cancel, delete, clone,
// tags, the date, preferences, the clipboard and moving between records.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

#include "AddressFile.h"
#include "RecordView.h"
#include "SettingKeys.h"
#include "TAddressMain.h"
#include "TCopyToClipboard.h"
#include "TDateSelect.h"
#include "TNewRecord.h"
#include "TPreferences.h"
#include "Table.h"
#include "TagId.h"
#include "WindowMessages.h"

namespace {

int fieldWidth(const xbase::Table& table, const char* field) {
    const int index = table.fieldIndex(field);
    return index < 0 ? 0 : table.field(index).width;
}

// The message of a failed write, for the error box.
QString failure(const xbase::Status& s) { return QString::fromStdString(s.message()); }

}  // namespace

void TAddressMain::Navigate(RecordEditing::Move move) {
    if (!table_ || editor_.editing()) return;
    if (!RecordEditing::Navigate(*table_, move)) WindowMessages().beep();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::AddRecord() {
    if (!table_ || editor_.editing()) return;
    view_->selectPage(0);
    const RecordEditing::CarryForward carried =
        RecordEditing::RememberForAdd(editor_.hasCurrent() ? editor_.values() : RecordValues(), prefs_);

    RecordEditing::NewRecordEntries entries;
    if (prefs_.plugCityState || prefs_.autoDupCheck) {
        TNewRecord dialog(prefs_.autoDupCheck, prefs_.plugCityState, fieldWidth(*table_, "LNAME"),
                          fieldWidth(*table_, "FNAME"), fieldWidth(*table_, "ZIP"), this);
        if (dialog.exec() != QDialog::Accepted) return;
        entries.lastName = dialog.lastName();
        entries.firstName = dialog.firstName();
        entries.zip = dialog.zip();
    }
    if (!entries.zip.isEmpty()) {
        RecordEditing::FillCityState(*table_, entries.zip, &entries.city, &entries.state);
    }
    if (auto duplicate = RecordEditing::FindDuplicateName(*table_, entries.firstName, entries.lastName)) {
        WindowMessages().beep();
        if (!WindowMessages().ask(duplicate->question, "Possible Duplicate", Messages::Preset::No)) {
            // The user looks at the record that is already there.
            (void)table_->go(duplicate->recNo);
            RefreshRecord();
            SetButtons();
            return;
        }
    }

    view_->clearMemo();
    editor_.append(RecordEditing::NewRecordValues(carried, entries, prefs_, QDate::currentDate()));
    RefreshRecord();
    SetButtons();
    view_->firstFieldForNewRecord(prefs_)->setFocus();
    view_->SetSkipFields(true, prefs_);
}

void TAddressMain::EditRecord() {
    if (!table_ || editor_.editing() || !editor_.edit()) return;
    RefreshRecord();
    SetButtons();
}

bool TAddressMain::SaveRecord() {
    if (!editor_.editing()) return true;
    editor_.setValue("MEMO", RecordEditing::MemoForSave(view_->memoText()));
    const xbase::Status s = editor_.post();
    if (!s.ok()) {
        WindowMessages().error("The record was not saved.\n" + failure(s), "Save");
        return false;
    }
    if (table_->queryRecCount() == 0) ApplyFilter();
    RefreshRecord();
    SetButtons();
    view_->SetSkipFields(false, prefs_);
    return true;
}

void TAddressMain::CancelRecord() {
    editor_.cancel();
    RefreshRecord();
    SetButtons();
    view_->SetSkipFields(false, prefs_);
}

void TAddressMain::DeleteRecord() {
    if (!editor_.hasCurrent() || editor_.editing()) return;
    if (WindowMessages().ask("Delete this record?", "DELETE")) {
        table_->setDeleted(false);
        QApplication::processEvents();
        const xbase::Status s = AddressFile::DeleteRecord(*table_);
        table_->setDeleted(true);
        if (s.ok()) {
            (void)table_->skip(-1);
        } else {
            WindowMessages().error("The record was not deleted.\n" + failure(s), "DELETE");
        }
    }
    if (table_->queryRecCount() == 0) ApplyFilter();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::CloneRecord() {
    if (!editor_.hasCurrent() || editor_.editing()) return;
    if (!WindowMessages().ask("Clone this record?", "Clone")) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    freeze(true);
    DataEventTracking = false;
    const xbase::Status s = RecordEditing::Clone(editor_);
    freeze(false);
    DataEventTracking = true;
    QApplication::restoreOverrideCursor();
    RefreshRecord();
    SetButtons();
    if (s.ok()) {
        WindowMessages().inform("Clone completed. Current record is an exact copy");
    } else {
        WindowMessages().error("The record was not cloned.\n" + failure(s), "Clone");
    }
}

void TAddressMain::ToggleTag() {
    if (!editor_.editing() && !editor_.hasCurrent()) {
        RefreshRecord();
        return;
    }
    const bool wasEditing = editor_.editing();
    if (!wasEditing) DataEventTracking = false;
    const xbase::Status s = RecordEditing::ToggleTag(editor_, GlobalTagId);
    if (!wasEditing) DataEventTracking = true;
    if (!s.ok()) WindowMessages().error("The tag was not changed.\n" + failure(s), "Tagged");
    if (table_->queryRecCount() == 0) ApplyFilter();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::ClearTags() {
    GlobalTagId = TagId::NewTagId();
    prefs_.globalTagId = GlobalTagId;
    if (!settings_.setValue(setting::kGlobalTagId, GlobalTagId)) {
        WindowMessages().error("The new tag could not be stored in " + settings_.path() +
                                   ".\nRecords tagged before will count as tagged again at the next start.",
                               "Clear Tags");
    }
    ApplyFilter();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::CopyToClipboard() {
    if (!editor_.hasCurrent()) return;
    TCopyToClipboard dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString text = RecordEditing::GetRecordAsString(editor_.values(), dialog.groups());
    QGuiApplication::clipboard()->setText(text);
    WindowMessages().inform("Record copied to Windows Clipboard");
}

void TAddressMain::SelectDate() {
    if (!editor_.editing() && !editor_.hasCurrent()) return;
    const QString stored = editor_.value("DATE");
    const QDate start = RecordEditing::FormatStoredDate(stored, "yyyyMMdd").isEmpty()
                            ? QDate::currentDate()
                            : QDate::fromString(stored.left(8), "yyyyMMdd");
    TDateSelect dialog(start, this);
    dialog.exec();
    if (dialog.choice() == TDateSelect::Choice::Cancel) return;
    if (!editor_.editing()) EditRecord();
    if (!editor_.editing()) return;
    editor_.setValue("DATE", dialog.choice() == TDateSelect::Choice::Ok
                                 ? RecordEditing::StoredDate(dialog.selectedDate())
                                 : QString());
    RefreshRecord();
}

void TAddressMain::EditPreferences() {
    TPreferences dialog(settings_, this);
    dialog.exec();
    LoadPreferences();
    RefreshRecord();
}
