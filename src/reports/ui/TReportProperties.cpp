#include "TReportProperties.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "LayoutColors.h"
#include "LayoutMetrics.h"
#include "ReportDefinition.h"
#include "StandardObjectDialogs.h"
#include "TReportMiniature.h"

namespace {

constexpr int kPpi = layout::kPixelsPerInch;
const char* const kBandNames[4] = {"Header", "Detail", "Memo", "Footer"};

// Inches as the margin boxes show them → layout pixels, the fraction dropped. The small
// addition keeps 0.29 × 96 = 27.84 from coming out as 27.83999.
int marginPixels(double inches) { return int(std::trunc(inches * kPpi + 1e-9)); }

QDoubleSpinBox* marginBox(const char* name) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(0.5, 2.5);
    box->setDecimals(2);
    box->setSingleStep(0.05);
    return box;
}

}  // namespace

TReportProperties::TReportProperties(const TReportSettings& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      standardDialogs_(std::make_unique<StandardObjectDialogs>()),
      dialogs_(standardDialogs_.get()) {
    setWindowTitle("Report Layout");
    setObjectName("TReportProperties");

    Tabs = new QTabWidget;
    Tabs->setObjectName("Tabs");
    Tabs->setUsesScrollButtons(false);
    Tabs->addTab(buildPageTab(), "&Page");
    const char* mnemonics[4] = {"&Header", "&Detail", "&Memo", "&Footer"};
    for (int band = 0; band < 4; ++band) {
        QWidget* tab = buildBandTab(Bands[band]);
        tab->setObjectName(QString(kBandNames[band]) + "Tab");
        Tabs->addTab(tab, mnemonics[band]);
        connect(Bands[band].ShadeColor, &QPushButton::clicked, this,
                [this, band] { chooseShadeColor(band); });
    }

    Miniature = new TReportMiniature;
    Miniature->setObjectName("Miniature");
    connect(Miniature, &TReportMiniature::partClicked, Tabs, &QTabWidget::setCurrentIndex);

    DefaultsButton = new QPushButton("De&faults");
    DefaultsButton->setObjectName("DefaultsButton");
    SaveButton = new QPushButton("&Save");
    SaveButton->setObjectName("SaveButton");
    SaveButton->setDefault(true);
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    connect(DefaultsButton, &QPushButton::clicked, this, &TReportProperties::DefaultsButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* miniatureColumn = new QVBoxLayout;
    miniatureColumn->addWidget(Miniature);
    miniatureColumn->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(Tabs, 1);
    body->addLayout(miniatureColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DefaultsButton);
    buttons->addStretch(1);
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    top->addLayout(buttons);

    showSettings();
    Miniature->SetSettings(settings_);

    // Every change of a control recomputes the settings.
    connect(orientation_, &QButtonGroup::idClicked, this, [this] { recompute(); });
    connect(paper_, &QButtonGroup::idClicked, this, [this] { recompute(); });
    for (QDoubleSpinBox* box : {LeftMargin, TopMargin, RightMargin, BottomMargin})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { recompute(); });
    for (BandControls& c : Bands) {
        for (QCheckBox* box : {c.TopBorder, c.LeftBorder, c.BottomBorder, c.RightBorder})
            connect(box, &QCheckBox::toggled, this, [this] { recompute(); });
        connect(c.LineWidth, &QSpinBox::valueChanged, this, [this] { recompute(); });
        connect(c.ShadePercent, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
    }
}

TReportProperties::~TReportProperties() = default;

QWidget* TReportProperties::buildPageTab() {
    auto* page = new QWidget;
    page->setObjectName("PageTab");

    PortraitButton = new QRadioButton("P&ortrait");
    PortraitButton->setObjectName("PortraitButton");
    LandscapeButton = new QRadioButton("&Landscape");
    LandscapeButton->setObjectName("LandscapeButton");
    orientation_ = new QButtonGroup(this);
    orientation_->addButton(PortraitButton, 0);
    orientation_->addButton(LandscapeButton, 1);
    auto* orientationBox = new QGroupBox("Orientation");
    auto* ol = new QVBoxLayout(orientationBox);
    ol->addWidget(PortraitButton);
    ol->addWidget(LandscapeButton);

    LetterButton = new QRadioButton("Le&tter");
    LetterButton->setObjectName("LetterButton");
    A4Button = new QRadioButton("&A4");
    A4Button->setObjectName("A4Button");
    paper_ = new QButtonGroup(this);
    paper_->addButton(LetterButton, 0);
    paper_->addButton(A4Button, 1);
    auto* sizeBox = new QGroupBox("Size");
    auto* sl = new QVBoxLayout(sizeBox);
    sl->addWidget(LetterButton);
    sl->addWidget(A4Button);

    LeftMargin = marginBox("LeftMargin");
    TopMargin = marginBox("TopMargin");
    RightMargin = marginBox("RightMargin");
    BottomMargin = marginBox("BottomMargin");
    auto* marginsBox = new QGroupBox("Margins (in inches)");
    auto* ml = new QFormLayout(marginsBox);
    ml->addRow("L&eft:", LeftMargin);
    ml->addRow("To&p:", TopMargin);
    ml->addRow("&Right:", RightMargin);
    ml->addRow("&Bottom:", BottomMargin);

    auto* grid = new QGridLayout(page);
    grid->addWidget(orientationBox, 0, 0);
    grid->addWidget(sizeBox, 1, 0);
    grid->addWidget(marginsBox, 0, 1, 2, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TReportProperties::buildBandTab(BandControls& c) {
    auto* tab = new QWidget;
    auto check = [](const char* text, const char* name) {
        auto* box = new QCheckBox(text);
        box->setObjectName(name);
        return box;
    };
    c.TopBorder = check("&Top", "TopBorder");
    c.LeftBorder = check("&Left", "LeftBorder");
    c.BottomBorder = check("&Bottom", "BottomBorder");
    c.RightBorder = check("&Right", "RightBorder");
    auto* borders = new QGroupBox("Borders");
    auto* bl = new QGridLayout(borders);
    bl->addWidget(c.TopBorder, 0, 0);
    bl->addWidget(c.LeftBorder, 1, 0);
    bl->addWidget(c.BottomBorder, 0, 1);
    bl->addWidget(c.RightBorder, 1, 1);

    c.LineWidth = new QSpinBox;
    c.LineWidth->setObjectName("LineWidth");
    c.LineWidth->setRange(1, 3);
    c.ShadePercent = new QComboBox;
    c.ShadePercent->setObjectName("ShadePercent");
    for (int pct = 0; pct <= 100; pct += 20) c.ShadePercent->addItem(QString::number(pct), pct);
    c.ShadeColor = new QPushButton;
    c.ShadeColor->setObjectName("ShadeColor");
    c.ShadeColor->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow("Line &Width:", c.LineWidth);
    form->addRow("&Shade Percent:", c.ShadePercent);
    form->addRow("Shade &Color:", c.ShadeColor);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(borders);
    layout->addLayout(form);
    layout->addStretch(1);
    return tab;
}

QString TReportProperties::layoutText() const {
    const int paper = ReportDefinition::PaperOf(settings_);
    return paper >= 0 ? QString(ReportDefinition::Papers()[size_t(paper)].layoutText) : QString();
}

void TReportProperties::showSettings() {
    showing_ = true;
    // A page that is none of the papers marks no choice.
    const int paper = ReportDefinition::PaperOf(settings_);
    for (QButtonGroup* group : {orientation_, paper_}) {
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
    }
    if (paper >= 0) {
        const ReportDefinition::Paper& p = ReportDefinition::Papers()[size_t(paper)];
        (p.landscape ? LandscapeButton : PortraitButton)->setChecked(true);
        (QString(p.size) == "A4" ? A4Button : LetterButton)->setChecked(true);
    }
    LeftMargin->setValue(double(settings_.MarginLeft) / kPpi);
    TopMargin->setValue(double(settings_.MarginTop) / kPpi);
    RightMargin->setValue(double(settings_.MarginRight) / kPpi);
    BottomMargin->setValue(double(settings_.MarginBottom) / kPpi);
    for (int band = 0; band < 4; ++band) {
        const TReportBandFrame& f = settings_.Frames[band];
        BandControls& c = Bands[band];
        c.TopBorder->setChecked(f.TopBorder);
        c.LeftBorder->setChecked(f.LeftBorder);
        c.BottomBorder->setChecked(f.BottomBorder);
        c.RightBorder->setChecked(f.RightBorder);
        c.LineWidth->setValue(f.LineWidth);
        // A stored percentage off the steps of 20 is shown as it is.
        int index = c.ShadePercent->findData(f.ShadePercent);
        if (index < 0) {
            index = 0;
            while (index < c.ShadePercent->count() &&
                   c.ShadePercent->itemData(index).toInt() < f.ShadePercent)
                ++index;
            c.ShadePercent->insertItem(index, QString::number(f.ShadePercent), f.ShadePercent);
        }
        c.ShadePercent->setCurrentIndex(index);
        showShadeColor(band);
    }
    showing_ = false;
}

void TReportProperties::recompute() {
    if (showing_) return;
    TReportSettings& s = settings_;
    // The page follows the paper choice once both halves of it are marked; a page that
    // is none of the papers keeps its size until then.
    QAbstractButton* size = paper_->checkedButton();
    QAbstractButton* turn = orientation_->checkedButton();
    if (size && !turn) {
        showing_ = true;
        (s.PageWidth > s.PageHeight ? LandscapeButton : PortraitButton)->setChecked(true);
        showing_ = false;
        turn = orientation_->checkedButton();
    } else if (turn && !size) {
        showing_ = true;
        LetterButton->setChecked(true);
        showing_ = false;
        size = paper_->checkedButton();
    }
    if (size && turn) ReportDefinition::SetPaper(s, paper_->id(size) * 2 + orientation_->id(turn));
    s.MarginLeft = marginPixels(LeftMargin->value());
    s.MarginTop = marginPixels(TopMargin->value());
    s.MarginRight = marginPixels(RightMargin->value());
    s.MarginBottom = marginPixels(BottomMargin->value());
    for (int band = 0; band < 4; ++band) {
        TReportBandFrame& f = s.Frames[band];
        const BandControls& c = Bands[band];
        f.TopBorder = c.TopBorder->isChecked();
        f.LeftBorder = c.LeftBorder->isChecked();
        f.BottomBorder = c.BottomBorder->isChecked();
        f.RightBorder = c.RightBorder->isChecked();
        f.LineWidth = c.LineWidth->value();
        f.ShadePercent = c.ShadePercent->currentData().toInt();
    }
    Miniature->SetSettings(s);
}

void TReportProperties::DefaultsButtonClick() {
    ReportDefinition::SetPaper(settings_, 0);  // Letter, portrait
    settings_.MarginLeft = settings_.MarginTop = settings_.MarginRight = settings_.MarginBottom = kPpi / 2;
    for (TReportBandFrame& f : settings_.Frames) f = ReportDefinition::DefaultFrame();
    showSettings();
    Miniature->SetSettings(settings_);
}

void TReportProperties::chooseShadeColor(int band) {
    QColor color = layout::ToQColor(settings_.Frames[band].ShadeColor);
    if (!dialogs_->chooseColor(color, this)) return;
    settings_.Frames[band].ShadeColor = layout::FromQColor(color);
    showShadeColor(band);
    Miniature->SetSettings(settings_);
}

void TReportProperties::showShadeColor(int band) {
    const QColor color = layout::ToQColor(settings_.Frames[band].ShadeColor);
    QPixmap swatch(32, 14);
    swatch.fill(color);
    QPainter(&swatch).drawRect(0, 0, 31, 13);
    QPushButton* button = Bands[band].ShadeColor;
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
    button->setText(color.name().toUpper());
}
