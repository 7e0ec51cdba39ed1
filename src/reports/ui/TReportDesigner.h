#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "PanelToolStates.h"
#include "ReportDefinition.h"
#include "TGOwner.h"
#include "TReportPanel.h"
#include "TReportSettings.h"

class AppHome;
class ObjectDialogs;
class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;
class TAddressDataSet;
class TGPanelView;
class THRuler;
namespace xbase {
class Table;
}

// "Report Designer": one user-defined report laid out as its bands one below the other
// on a page area: the inch ruler from the left margin, then header, detail, memo and
// footer, each under a caption strip whose check box switches it on or off and above a
// sizer strip that drags its height. Header, detail and footer are report panels on
// which objects are drawn with the design surface; the memo band shows the current
// record's memo in the memo font. The window edits a copy of the report: the caller
// takes definition() and calls Save after exec() returned Accepted.
class TReportDesigner : public QDialog {
    Q_OBJECT

  public:
    // `layoutFile` empty or missing: the bands start empty. A new report starts from
    // the settings of a new report; an existing one from those its file holds.
    TReportDesigner(const ReportDefinition::Definition& def, const QString& layoutFile, bool isNew,
                    xbase::Table& addresses, const AppHome& home, QWidget* parent = nullptr);
    ~TReportDesigner() override;

    // The definition with the description from the box and the paper text of the page.
    ReportDefinition::Definition definition() const;
    // Stores the report (record and layout file) after the designer ended with Save;
    // `recNo` 0 appends a record.
    bool Save(xbase::Table& reports, uint32_t recNo, const QString& sysDataDir, QString* error);
    const TReportSettings& settings() const { return settings_; }

    TReportPanel& PHeader() { return *bands_[0]; }
    TReportPanel& PDetail() { return *bands_[1]; }
    TReportPanel& PFooter() { return *bands_[2]; }
    // The view of TReportSettings::Header, Detail or Footer.
    TGPanelView* BandView(TReportSettings::Band band) const;

    // Arms one drawing tool on the three bands; each band takes presses only when it
    // accepts objects of that tool.
    void SetState(TReportPanelState state);
    // Every band takes presses again.
    void EnableAll();
    // A switched-on band without height gets its 20 pixels (less on a full page).
    void SetBandVisibleSize();
    void SetDefaultFontCaption();
    // Stacks the ruler, the bands and their strips on the page area from the settings.
    void LayoutPage();

    // The object dialogs and the font dialog (tests put scripted ones in place).
    void setObjectDialogs(ObjectDialogs* dialogs);

    QLineEdit* DescriptionEdit;
    QLabel* LayoutLabel;
    QPushButton* FontButton;
    QToolBar* Tools;
    QToolBar* ViewBar;
    QAction* SelectionTool;
    QAction* ShowGrid;
    QAction* SnapToGrid;
    QAction* FieldNames;
    QWidget* PageArea;
    THRuler* Ruler;
    QCheckBox* HeaderCheck;
    QCheckBox* DetailCheck;
    QCheckBox* MemoCheck;
    QCheckBox* FooterCheck;
    QWidget* Sizers[4];  // header, detail, memo (never dragged), footer
    QLabel* MemoView;
    QToolButton* MemoProperties;
    QAction* MemoFont;
    QAction* MemoAlign[3];  // left (0), right (1), centred (2), as the settings number them
    QPushButton* SaveButton;
    QPushButton* CancelButton;
    QPushButton* ChangeLayoutButton;
    QToolButton* RecordButtons[4];  // first, previous, next, last
    QPushButton* HelpButton;

  public slots:
    // Save: the checks, then the store result.
    void accept() override;
    // Cancel, Escape and the title bar's close button: a changed report asks first
    // whether to save it (Yes is Save, No discards, Cancel stays).
    void reject() override;

  public:
    // Whether the report differs from what the designer opened with: the objects of a
    // band (undone changes do not count), the settings or the description.
    bool modified() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildTools();
    QWidget* captionStrip(QCheckBox* check);
    void bandUseChanged();
    void ChangeLayoutButtonClick();
    void FontButtonClick();
    void MemoFontClick();
    void moveRecord(int how);
    void showMemo();
    // The view of band index 0..2 (header, detail, footer).
    TGPanelView* view(int i) const { return views_[i]; }
    int screen(int layoutPixels) const;

    ReportDefinition::Definition def_;
    const AppHome& home_;
    xbase::Table& addresses_;
    TReportSettings settings_;
    TGOwner owner_;
    std::unique_ptr<TAddressDataSet> data_;
    std::unique_ptr<TReportPanel> bands_[3];
    TGPanelView* views_[3] = {};
    QWidget* captions_[4] = {};
    std::unique_ptr<ObjectDialogs> standardDialogs_;
    ObjectDialogs* dialogs_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    float zoom_ = 1.0f;  // layout pixels → screen pixels
    bool laying_ = false;
    // What the designer opened with, to tell a changed report.
    TReportSettings openedSettings_;
    QString openedDescription_;

    // The sizer being dragged: the band, its height and the mouse when it started.
    int dragBand_ = -1;
    int dragStartHeight_ = 0;
    int dragStartY_ = 0;
};
