#pragma once

#include <QDialog>
#include <memory>

#include "TReportSettings.h"

class ObjectDialogs;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TReportMiniature;

// "Report Layout": the page (paper, orientation, margins) and the frame of each band
// (borders, line width, shading) of a report. It edits a copy of the settings given;
// the caller takes settings() when the dialog ends with Save.
class TReportProperties : public QDialog {
    Q_OBJECT

  public:
    TReportProperties(const TReportSettings& settings, QWidget* parent = nullptr);
    ~TReportProperties() override;

    TReportSettings settings() const { return settings_; }
    // The paper text of the page ("A4 Size, Landscape"); empty when the page is none of
    // the four papers.
    QString layoutText() const;

    // The colour dialog of "Shade Color" (tests put a scripted one in place).
    void setObjectDialogs(ObjectDialogs* dialogs) { dialogs_ = dialogs; }

    // The controls of one band's tab.
    struct BandControls {
        QCheckBox* TopBorder;
        QCheckBox* LeftBorder;
        QCheckBox* BottomBorder;
        QCheckBox* RightBorder;
        QSpinBox* LineWidth;
        QComboBox* ShadePercent;
        QPushButton* ShadeColor;
    };

    QTabWidget* Tabs;
    QRadioButton* PortraitButton;
    QRadioButton* LandscapeButton;
    QRadioButton* LetterButton;
    QRadioButton* A4Button;
    QDoubleSpinBox* LeftMargin;
    QDoubleSpinBox* TopMargin;
    QDoubleSpinBox* RightMargin;
    QDoubleSpinBox* BottomMargin;
    BandControls Bands[4];  // header, detail, memo, footer
    TReportMiniature* Miniature;
    QPushButton* DefaultsButton;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  private:
    QWidget* buildPageTab();
    QWidget* buildBandTab(BandControls& c);
    // Settings → controls, without counting as changes.
    void showSettings();
    // Controls → settings, after every change.
    void recompute();
    void DefaultsButtonClick();
    void chooseShadeColor(int band);
    void showShadeColor(int band);

    TReportSettings settings_;
    QButtonGroup* orientation_;
    QButtonGroup* paper_;
    bool showing_ = false;
    std::unique_ptr<ObjectDialogs> standardDialogs_;
    ObjectDialogs* dialogs_;
};
