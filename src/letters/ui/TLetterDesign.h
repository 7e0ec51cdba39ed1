#pragma once

#include <QDialog>

#include <QFont>

#include <memory>
#include <optional>

#include "AppHome.h"
#include "LetterFont.h"

class LetterRuler;
struct ParagraphFormat;
class PrinterDevice;
class TFindDialog;
class SpellChecker;
class SpellHighlighter;
class QAction;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QPushButton;
class QTextCharFormat;
class QTextDocument;
class QTextEdit;
class Settings;
namespace xbase {
class Table;
}

// The letter editor, "Letter Designer": one letter's rich text with its fonts,
// paragraph formats and page, the merge-field tokens, and its description. "Ok" ends
// it accepted (the manager then stores description and text), "Cancel" rejected.
class TLetterDesign : public QDialog {
    Q_OBJECT

  public:
    // `addresses` (borrowed, may be null) is the address file whose current record
    // "Preview" merges.
    TLetterDesign(Settings* settings, xbase::Table* addresses, QWidget* parent = nullptr);
    ~TLetterDesign() override;

    // The text being edited.
    QTextDocument* document() const;
    // The home whose user word list the spell checker uses; spell checking is offered
    // once it is set and the main dictionary is installed.
    void setHome(const AppHome& home);
    // A new letter gets the default font.
    void setNewLetter(bool isNew);

    // The default font: read from and written to the settings, shown in the "Default
    // Font" item's caption, and made the current character format.
    void LoadPref();
    void SavePref();
    void SetDefaultFontCaption();
    void SetDefaultFontNow();
    const LetterFont& defaultFont() const { return defaultFont_; }
    // What the "Default Font" command does once its font dialog has ended: `chosen`
    // (when confirmed) becomes the default font and the current format; the caption
    // and the settings are written either way.
    void DefaultFontChosen(const std::optional<QFont>& chosen);

    // The Paragraph dialog's result given to the paragraphs at the cursor (one undo
    // step); the ruler uses it as well.
    void applyParagraph(const ParagraphFormat& format, const ParagraphFormat& shown);

    // Shows `letter` merged with the current record of `addresses` in the preview.
    static void Preview(const QTextDocument& letter, xbase::Table& addresses, Settings* settings, QWidget* parent,
                        PrinterDevice* device = nullptr);

    QLineEdit* Description;
    QComboBox* InsertField;
    QTextEdit* Editor;
    QFontComboBox* FontName;
    QComboBox* FontSize;
    QAction* WordWrapItem;
    QAction* SpellCheckItem;
    QAction* DefaultFontItem;
    QAction *FindItem, *ReplaceItem, *FindNextItem, *ParagraphItem;
    QAction *TextColorItem, *BackColorItem;
    LetterRuler* Ruler;
    QPushButton *OkButton, *CancelButton, *PreviewButton, *HelpButton;

    // Ends the editor with `result`; the window's placement is stored first.
    void done(int result) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void FieldClick(int index);
    void InsertPageBreak();
    void ToggleWordWrap();
    void SaveAsRtf();
    void LoadRtf(bool insert);
    void PageSettings();
    void ParagraphSettings();
    void DefaultFont();
    void Find(bool replace);
    void FindNext();
    void updateRuler();
    void showFormat(const QTextCharFormat& format);
    void SpellCheck();
    void contextMenu(const QPoint& at);

    Settings* settings_;
    xbase::Table* addresses_;
    std::optional<AppHome> home_;
    std::unique_ptr<SpellChecker> checker_;  // while spell checking is offered
    SpellHighlighter* highlighter_ = nullptr;
    TFindDialog* find_ = nullptr;  // made on first use
    bool placed_ = false;          // the stored placement was put on the window
    LetterFont defaultFont_;
};
