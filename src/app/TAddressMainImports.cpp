// The main window's imports and Copy Records Out: what it does around their windows.

#include <QDir>
#include <QFileInfo>

#include "AddressFile.h"
#include "CopyOut.h"
#include "TAddressMain.h"
#include "Settings.h"
#include "TAsciiImport.h"
#include "TCopyOut.h"
#include "TDBFImport.h"
#include "TImportOlder.h"
#include "TVCardImport.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

const char* const kNoFileOpen = "You need to have a database file open first";

// The working folder, put back when the object goes: the file dialogs may move it.
class SavedFolder {
  public:
    SavedFolder() : folder_(QDir::currentPath()) {}
    ~SavedFolder() { QDir::setCurrent(folder_); }

  private:
    QString folder_;
};

}  // namespace

void TAddressMain::ImportAscii() { importOnOwnTable(ImportKind::Ascii); }

void TAddressMain::ImportDbf() { importOnOwnTable(ImportKind::Dbf); }

void TAddressMain::ImportVCard() { importOnOwnTable(ImportKind::VCard); }

void TAddressMain::importOnOwnTable(ImportKind kind) {
    if (!table_) {
        WindowMessages().inform(kNoFileOpen);
        return;
    }
    if (editor_.editing()) return;
    SavedFolder folder;
    const QString path = CurrentFileName;
    // The import opens the file exclusively for itself: the window lets go of it first.
    closeTable();
    {
        std::unique_ptr<xbase::Table> table;
        QString reason;
        if (AddressFile::OpenTableFile(path, &table, &reason)) {
            // The matching windows keep their placement where the other windows do.
            if (kind == ImportKind::Dbf) {
                TDBFImport dialog(*table, path, this);
                dialog.settingsPath = Settings::GetIniFileName(home_);
                dialog.exec();
            } else if (kind == ImportKind::Ascii) {
                TAsciiImport dialog(*table, this);
                dialog.settingsPath = Settings::GetIniFileName(home_);
                dialog.exec();
            } else {
                TVCardImport(*table, this).exec();
            }
            (void)table->close();
        } else {
            WindowMessages().inform("Unknown error. Unable to do ASCII import at this time");
        }
    }
    OpenQYZDBF(path);
    DataEventTracking = true;
    if (table_) {
        SetCurrentOrder(CurrentOrderName);
        ApplyFilter();
        (void)table_->goTop();
    }
    RefreshRecord();
    SetButtons();
}

void TAddressMain::ImportOlder(int version) {
    if (!table_) {
        WindowMessages().inform(kNoFileOpen);
        return;
    }
    if (editor_.editing()) return;
    SavedFolder folder;
    freeze(true);
    DataEventTracking = false;
    (void)table_->query({});
    {
        TImportOlder dialog(*table_, CurrentFileName,
                            version == 1 ? OlderImport::Version::V1 : OlderImport::Version::V2, this);
        dialog.exec();
    }
    freeze(false);
    DataEventTracking = true;
    CheckValidIndex();
    SetCurrentOrder(CurrentOrderName);
    ApplyFilter();
    (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::CopyRecordsOut() {
    if (!table_ || editor_.editing()) return;
    if (table_->queryRecCount() == 0) {
        WindowMessages().inform(CopyOut::kNothingToCopy);
        return;
    }
    SavedFolder folder;
    DataEventTracking = false;
    freeze(true);
    const uint32_t record = table_->recNo();
    {
        TCopyOut dialog(*table_, CurrentFileName, home_.root(), this);
        dialog.exec();
    }
    (void)table_->go(record);
    freeze(false);
    DataEventTracking = true;
    SetCurrentOrder(CurrentOrderName);
    RefreshRecord();
    SetButtons();
}
