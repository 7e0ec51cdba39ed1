#include "HelpLink.h"

#include <QMetaObject>
#include <QWidget>

namespace HelpLink {

namespace {

Viewer& viewer() {
    static Viewer v;
    return v;
}

}  // namespace

const QHash<QString, QString>& table() {
    // Windows that share a page share a subject: the import windows and their field
    // matching, the reindex dialogs, the print progress of every kind.
    static const QHash<QString, QString> pages = {
        // The main window and the records
        {"TAddressMain", "main-window.html"},
        {"TAboutBox", "about.html"},
        {"TGettingStarted", "getting-started.html"},
        {"THelpWindow", "using-help.html"},
        {"TCreateNewDatabase", "new-database.html"},
        {"TFieldLengths", "field-lengths.html"},
        {"TReindexDialog", "rebuild-indexes.html"},
        {"TQYReindex", "rebuild-indexes.html"},
        {"TSystemReindex", "rebuild-system.html"},
        {"TNewRecord", "new-record.html"},
        {"TPreferences", "preferences.html"},
        {"TDateSelect", "select-date.html"},
        {"TCopyToClipboard", "copy-clipboard.html"},
        {"TTagging", "tags.html"},
        // Finding records
        {"TAddressSearch", "search.html"},
        {"TMemoSearching", "search.html#memo"},
        {"TAddressBrowse", "browse.html"},
        {"TAddressFilter", "filter.html"},
        // Labels
        {"TLabelSetupScreen", "print-labels.html"},
        {"TSelectSpecificLabels", "label-positions.html"},
        {"TChooseLabelLayout", "label-stock.html"},
        {"TSelectLabel", "label-templates.html"},
        {"TLabelEdit", "label-stock-edit.html"},
        {"TLabelDesignScreen", "label-designer.html"},
        {"TDesignScreen", "design-objects.html"},
        // The designers' object dialogs
        {"TTextDialog", "object-text.html"},
        {"TText3DEffects", "object-text-effects.html"},
        {"TSelectField", "object-field.html"},
        {"TMultiLineTextEditor", "object-multiline.html"},
        {"TAddressLabelLayout", "object-address.html"},
        {"TCounterDialog", "object-counter.html"},
        {"TSymbolSelector", "object-symbol.html"},
        {"TLoadImageFile", "object-image.html"},
        {"TIMBarCodeDialog", "object-barcode.html"},
        // Envelopes
        {"TQYEnvelopes", "print-envelopes.html"},
        {"TChooseEnvelopeLayout", "envelope-size.html"},
        {"TEnvelopeFeed", "envelope-feed.html"},
        {"TEnvelopePrePrint", "envelope-print.html"},
        {"TEnvelopeDesignScreen", "envelope-designer.html"},
        // Letters
        {"TqYLetters", "print-letters.html"},
        {"TLetterPrint", "print-progress.html"},
        {"TLetterDesign", "letter-editor.html"},
        {"TFindDialog", "letter-find.html"},
        {"TSpellCheckDialog", "spell-check.html"},
        {"TParagraphPropDlg", "paragraph-settings.html"},
        {"TWPPageProp", "page-settings.html"},
        {"TRTFPreviewForm", "letter-preview.html"},
        // Reports
        {"TReportSetup", "print-reports.html"},
        {"TReportDesigner", "report-designer.html"},
        {"TReportProperties", "report-layout.html"},
        {"TPrintCurrentRecord", "print-current-record.html"},
        // Bulk mail
        {"TSortBulkMail", "presort.html"},
        {"TCountZipCodes", "zip-count.html"},
        {"TZipReport", "zip-count.html"},
        // Imports and exports
        {"TImportDialog", "import-ascii.html"},
        {"TAsciiImport", "import-ascii.html"},
        {"TDBFImport", "import-dbf.html"},
        {"TImportOlder", "import-older.html"},
        {"TVCardImport", "import-vcard.html"},
        {"TMatchFields", "match-fields.html"},
        {"TAsciiMatch", "match-fields.html"},
        {"TDBFMatch", "match-fields.html"},
        {"TCopyOut", "export.html"},
        // Tools
        {"TStateZipCheck", "state-zip-check.html"},
        {"TDupCheck", "duplicates.html"},
        {"TConvertToUpper", "convert-case.html"},
        {"TSearchAndReplace", "search-replace.html"},
        {"TDeleteRecords", "delete-records.html"},
        {"TQYDialer", "dialer.html"},
        // Printing
        {"TPrintStatus", "print-progress.html"},
        {"TPreviewWindow", "preview.html"},
    };
    return pages;
}

QString pageFor(const QWidget* widget) {
    for (const QWidget* w = widget ? widget->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        for (const QMetaObject* m = w->metaObject(); m; m = m->superClass()) {
            const auto found = table().constFind(QString::fromLatin1(m->className()));
            if (found != table().constEnd()) return *found;
        }
    }
    return QString::fromLatin1(kContents);
}

void show(const QString& page, QWidget* from) {
    if (viewer()) viewer()(page, from);
}

void showFor(QWidget* from) { show(pageFor(from), from); }

void setViewer(Viewer v) { viewer() = std::move(v); }

}  // namespace HelpLink
