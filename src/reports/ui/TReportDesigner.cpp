#include "Icons.h"
#include "TReportDesigner.h"

#include <QKeyEvent>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "AppHome.h"
#include "DesignTools.h"
#include "HelpLink.h"
#include "LayoutMetrics.h"
#include "PlacedWindow.h"
#include "RecordMoves.h"
#include "ReportBands.h"
#include "Settings.h"
#include "StandardObjectDialogs.h"
#include "TAddressDataSet.h"
#include "TGGraphicControl.h"
#include "TGPanelView.h"
#include "THRuler.h"
#include "TReportProperties.h"
#include "UserReport.h"
#include "WindowMessages.h"

namespace {

using S = TReportPanelState;
using Band = TReportSettings::Band;

const QString kClassName = QStringLiteral("TReportDesigner");
const QString kNoBands = QStringLiteral("No report bands are selected. Please select at least one");
constexpr int kMaxDescription = 60;
constexpr int kRulerHeight = 33;
constexpr int kCaptionHeight = 20;
constexpr int kSizerHeight = 5;
const QColor kSilver(192, 192, 192);

struct Tool {
    const char* hint;
    S state;
    char glyph;
};
const Tool kTools[] = {
    {"Selection tool", S::psPointing, 'P'},
    {"Text tool", S::psLabel, 'A'},
    {"Database Field tool", S::psDataLabel, 'F'},
    {"Date Time Tool", S::psDateTime, 'C'},
    {"Page Number Tool", S::psPageNumber, '#'},
    {"Symbol tool", S::psSymbolLabel, 'S'},
    {"Line Tool", S::psLine, 'L'},
    {"Rectangle tool", S::psRectangle, 'R'},
    {"Ellipse tool", S::psEllipse, 'E'},
    {"Round Rectangle tool", S::psRoundRectangle, 'O'},
    {"Clip Art Tool", S::psImage, 'I'},
};

// The band of the settings that panel 0..2 (header, detail, footer) shows.
Band bandOf(int i) { return i == 2 ? TReportSettings::Footer : Band(i); }

// Whether a band of `kind` takes a drawing with the tool: images only in the header,
// database fields only in the detail band, date, time and page numbers only in the
// header and footer; everything else everywhere.
bool acceptsTool(TRPanelKind kind, S state) {
    switch (state) {
        case S::psImage:
            return kind == rpkHeader;
        case S::psDataLabel:
            return kind == rpkDetail;
        case S::psMultiLineDataLabel:
            return kind == rpkMemo;
        case S::psDateTime:
        case S::psPageNumber:
            return kind == rpkHeader || kind == rpkFooter;
        default:
            return true;
    }
}

LayoutFont fontOf(const QString& name, int size, bool bold, bool italic) {
    LayoutFont f = LayoutFont::Make(name, size);
    f.set(fsBold, bold);
    f.set(fsItalic, italic);
    return f;
}

}  // namespace

TReportDesigner::TReportDesigner(const ReportDefinition::Definition& def, const QString& layoutFile,
                                 bool isNew, xbase::Table& addresses, const AppHome& home, QWidget* parent)
    : QDialog(parent),
      def_(def),
      home_(home),
      addresses_(addresses),
      settings_(ReportDefinition::NewSettings()),
      data_(std::make_unique<TAddressDataSet>(&addresses)),
      standardDialogs_(std::make_unique<StandardObjectDialogs>()),
      dialogs_(standardDialogs_.get()) {
    setWindowTitle("Report Designer");
    setObjectName(kClassName);

    data_->AddCalculatedFields();
    const TRPanelKind kinds[3] = {rpkHeader, rpkDetail, rpkFooter};
    for (int i = 0; i < 3; ++i) {
        bands_[i] = std::make_unique<TReportPanel>(&owner_);
        bands_[i]->PAnelKind = kinds[i];
        bands_[i]->SetDataSet(data_.get());
        bands_[i]->GridSize = gs4x4;
    }
    if (!isNew) {
        const LayoutStatus loaded =
            ReportDefinition::LoadReport(layoutFile, &owner_, PHeader(), PDetail(), PFooter(), settings_);
        if (!loaded.ok()) WindowMessages().error(loaded.message());
        ReportDefinition::Clamp(settings_);
    }

    // The description bar.
    DescriptionEdit = new QLineEdit(def.description.trimmed());
    DescriptionEdit->setObjectName("DescriptionEdit");
    DescriptionEdit->setMaxLength(kMaxDescription);
    LayoutLabel = new QLabel(def.layout);
    LayoutLabel->setObjectName("LayoutLabel");
    FontButton = new QPushButton;
    FontButton->setObjectName("FontButton");
    FontButton->setAutoDefault(false);
    // The description and layout under the page, as in the label and envelope designers.
    auto* fields = new QFormLayout;
    fields->addRow("&Description:", DescriptionEdit);
    fields->addRow("Layout:", LayoutLabel);

    buildTools();

    // The page area: ruler, then caption, band and sizer of each band.
    PageArea = new QWidget;
    PageArea->setObjectName("PageArea");
    // Its own role: the bands' strips and the memo view would take the scroll area's
    // dark one (and light text on it) otherwise.
    PageArea->setBackgroundRole(QPalette::Window);
    PageArea->setAutoFillBackground(true);
    QPalette silver = PageArea->palette();
    silver.setColor(QPalette::Window, kSilver);
    PageArea->setPalette(silver);
    Ruler = new THRuler(PageArea);
    Ruler->setObjectName("Ruler");
    Ruler->SetColor(kSilver);
    Ruler->SetPixelsPerInch(logicalDpiX());
    zoom_ = layout::ScreenZoom(1.0f, logicalDpiX());

    auto check = [](const char* text, const char* name) {
        auto* box = new QCheckBox(text);
        box->setObjectName(name);
        return box;
    };
    HeaderCheck = check("H&eader", "HeaderCheck");
    DetailCheck = check("De&tail", "DetailCheck");
    MemoCheck = check("&Memo", "MemoCheck");
    FooterCheck = check("F&ooter", "FooterCheck");
    QCheckBox* checks[4] = {HeaderCheck, DetailCheck, MemoCheck, FooterCheck};
    for (int b = 0; b < 4; ++b) captions_[b] = captionStrip(checks[b]);

    MemoProperties = new QToolButton(captions_[TReportSettings::Memo]);
    MemoProperties->setObjectName("MemoProperties");
    MemoProperties->setText("&Properties");
    MemoProperties->setPopupMode(QToolButton::InstantPopup);
    MemoProperties->setAutoRaise(true);
    auto* memoMenu = new QMenu(MemoProperties);
    MemoFont = memoMenu->addAction("&Font...");
    memoMenu->addSeparator();
    auto* alignGroup = new QActionGroup(this);
    // In the menu's order: left, centred, right; the settings number them 0, 2, 1.
    MemoAlign[0] = memoMenu->addAction("&Left Aligned");
    MemoAlign[2] = memoMenu->addAction("&Centered");
    MemoAlign[1] = memoMenu->addAction("&Right Aligned");
    for (int a = 0; a < 3; ++a) {
        MemoAlign[a]->setCheckable(true);
        alignGroup->addAction(MemoAlign[a]);
        connect(MemoAlign[a], &QAction::triggered, this, [this, a] {
            settings_.MemoAlignment = a;
            showMemo();
        });
    }
    MemoProperties->setMenu(memoMenu);
    connect(MemoFont, &QAction::triggered, this, &TReportDesigner::MemoFontClick);
    if (auto* l = qobject_cast<QHBoxLayout*>(captions_[TReportSettings::Memo]->layout())) {
        l->addStretch(1);
        l->addWidget(MemoProperties);
    }

    for (int i = 0; i < 3; ++i) {
        views_[i] = new TGPanelView(*bands_[i], PageArea);
        views_[i]->setObjectName(QString(i == 0 ? "Header" : i == 1 ? "Detail" : "Footer") + "View");
        views_[i]->setObjectDialogs(dialogs_);
        views_[i]->SetZoom(zoom_);
        views_[i]->installEventFilter(this);
        TGPanelView* v = views_[i];
        connect(v, &TGPanelView::DroppedObjectEvent, this, [this] {
            SetState(S::psPointing);
            EnableAll();
            SelectionTool->setChecked(true);
        });
        connect(v, &TGPanelView::PanelStateChanged, this, [this] {
            SetState(S::psPointing);
            SelectionTool->setChecked(true);
        });
    }
    MemoView = new QLabel(PageArea);
    MemoView->setObjectName("MemoView");
    MemoView->setAutoFillBackground(true);
    MemoView->setTextFormat(Qt::PlainText);
    MemoView->setWordWrap(true);
    MemoView->setContentsMargins(2, 1, 2, 1);
    MemoView->setFrameShape(QFrame::Box);
    QPalette white = MemoView->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    MemoView->setPalette(white);
    const char* sizerNames[4] = {"HeaderSizer", "DetailSizer", "MemoSizer", "FooterSizer"};
    for (int b = 0; b < 4; ++b) {
        Sizers[b] = new QWidget(PageArea);
        Sizers[b]->setObjectName(sizerNames[b]);
        Sizers[b]->setAutoFillBackground(true);
        QPalette p = Sizers[b]->palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        Sizers[b]->setPalette(p);
        if (b != TReportSettings::Memo) {
            Sizers[b]->setCursor(Qt::SizeVerCursor);
            Sizers[b]->setToolTip("Drag to change the band's height (or Tab to it and use the Up and Down keys)");
            // Reached with Tab, the arrow keys size the band too; the strip lights up then.
            Sizers[b]->setFocusPolicy(Qt::TabFocus);
            Sizers[b]->installEventFilter(this);
        }
    }
    scroll_ = new QScrollArea;
    scroll_->setObjectName("PageScroll");
    scroll_->setBackgroundRole(QPalette::Window);
    scroll_->viewport()->setPalette(silver);
    scroll_->setWidget(PageArea);
    scroll_->setFocusPolicy(Qt::NoFocus);  // Tab goes to the bands themselves

    // The bottom bar.
    SaveButton = new QPushButton("&Save");
    SaveButton->setObjectName("SaveButton");
    CancelButton = new QPushButton("&Cancel");
    CancelButton->setObjectName("CancelButton");
    ChangeLayoutButton = new QPushButton("C&hange Layout");
    ChangeLayoutButton->setObjectName("ChangeLayoutButton");
    HelpButton = new QPushButton("He&lp");
    HelpButton->setObjectName("HelpButton");
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpLink::showFor(this); });
    for (QPushButton* b : {SaveButton, CancelButton, ChangeLayoutButton, HelpButton})
        b->setAutoDefault(false);
    // The record buttons end the view bar, the buttons row is the other designers' one.
    ViewBar->addSeparator();
    const std::pair<const char*, Icons::Icon> moves[] = {
        {"First record", Icons::Icon::FirstRecord},
        {"Previous record", Icons::Icon::PreviousRecord},
        {"Next record", Icons::Icon::NextRecord},
        {"Last record", Icons::Icon::LastRecord}};
    for (int i = 0; i < 4; ++i) {
        RecordButtons[i] = new QToolButton;
        RecordButtons[i]->setIcon(Icons::get(moves[i].second));
        RecordButtons[i]->setToolTip(moves[i].first);
        RecordButtons[i]->setAccessibleName(moves[i].first);
        RecordButtons[i]->setObjectName(QString(moves[i].first).remove(' '));
        RecordButtons[i]->setAutoRaise(true);
        ViewBar->addWidget(RecordButtons[i]);
        connect(RecordButtons[i], &QToolButton::clicked, this, [this, i] { moveRecord(i); });
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FontButton);
    bottom->addStretch(1);
    for (QPushButton* b : {ChangeLayoutButton, SaveButton, CancelButton, HelpButton}) bottom->addWidget(b);

    auto* top = new QVBoxLayout(this);
    top->addWidget(Tools);
    top->addWidget(ViewBar);
    top->addWidget(scroll_, 1);
    top->addLayout(fields);
    top->addLayout(bottom);

    connect(SaveButton, &QPushButton::clicked, this, &TReportDesigner::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ChangeLayoutButton, &QPushButton::clicked, this, &TReportDesigner::ChangeLayoutButtonClick);
    connect(FontButton, &QPushButton::clicked, this, &TReportDesigner::FontButtonClick);
    for (QCheckBox* box : checks) connect(box, &QCheckBox::toggled, this, &TReportDesigner::bandUseChanged);

    // Tab order: down the page, each band after its check box, then the bottom bar.
    QWidget* order[] = {DescriptionEdit,    FontButton,       HeaderCheck,      views_[0],
                        DetailCheck,        views_[1],        MemoCheck,        MemoProperties,
                        FooterCheck,        views_[2],        SaveButton,       CancelButton,
                        ChangeLayoutButton, RecordButtons[0], RecordButtons[1], RecordButtons[2],
                        RecordButtons[3],   HelpButton};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    const Settings ini(Settings::GetIniFileName(home_));
    PlacedWindow::Restore(this, ini, kClassName, [](const QRect& area) {
        const QSize size(std::min(area.width(), 960), std::min(area.height(), 720));
        return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
    });

    SetBandVisibleSize();
    for (auto& band : bands_) band->RefreshData();
    LayoutPage();
    for (TGPanelView* v : views_) v->ResetUndo();
    openedSettings_ = settings_;
    openedDescription_ = DescriptionEdit->text();
    DescriptionEdit->setFocus();
}

TReportDesigner::~TReportDesigner() {
    Settings ini(Settings::GetIniFileName(home_));
    PlacedWindow::Save(this, ini, kClassName);
    // The objects go before the data set they read.
    for (int i = 0; i < 3; ++i) {
        views_[i]->ClearSelection();
        bands_[i]->ClearObjects();
    }
}

void TReportDesigner::setObjectDialogs(ObjectDialogs* dialogs) {
    dialogs_ = dialogs ? dialogs : standardDialogs_.get();
    for (TGPanelView* v : views_) v->setObjectDialogs(dialogs_);
}

void TReportDesigner::buildTools() {
    Tools = new QToolBar;
    Tools->setObjectName("Tools");
    Tools->setIconSize(QSize(24, 24));
    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusive(true);
    for (const Tool& t : kTools) {
        QAction* a = Tools->addAction(DesignToolIcon(t.glyph), t.hint);
        a->setToolTip(t.hint);
        a->setCheckable(true);
        a->setData(int(t.state));
        a->setObjectName(QString(t.hint).remove(' '));
        toolGroup_->addAction(a);
        if (t.state == S::psPointing) SelectionTool = a;
    }
    SelectionTool->setChecked(true);
    connect(toolGroup_, &QActionGroup::triggered, this,
            [this](QAction* a) { SetState(S(a->data().toInt())); });

    // The second row: how the bands are shown, and the record they show.
    ViewBar = new QToolBar;
    ViewBar->setObjectName("ViewBar");
    const ViewToggles toggles = AddViewToggles(ViewBar);
    ShowGrid = toggles.showGrid;
    SnapToGrid = toggles.snapToGrid;
    FieldNames = toggles.fieldNames;
    connect(ShowGrid, &QAction::toggled, this, [this](bool on) {
        for (TGPanelView* v : views_) v->SetShowGrid(on);
    });
    connect(SnapToGrid, &QAction::toggled, this, [this](bool on) {
        for (TGPanelView* v : views_) v->SetSnapToGrid(on);
    });
    connect(FieldNames, &QAction::toggled, this, [this](bool names) {
        PDetail().SetDisplayDataValues(!names);
        PDetail().RefreshData();
        view(1)->PanelChanged();
    });
}

QWidget* TReportDesigner::captionStrip(QCheckBox* check) {
    auto* strip = new QWidget(PageArea);
    strip->setAutoFillBackground(true);
    QPalette p = strip->palette();
    p.setColor(QPalette::Window, QColor(160, 160, 164));
    strip->setPalette(p);
    auto* l = new QHBoxLayout(strip);
    l->setContentsMargins(4, 0, 4, 0);
    l->addWidget(check);
    strip->setObjectName(check->objectName().replace("Check", "Caption"));
    return strip;
}

TGPanelView* TReportDesigner::BandView(TReportSettings::Band band) const {
    switch (band) {
        case TReportSettings::Header:
            return views_[0];
        case TReportSettings::Detail:
            return views_[1];
        case TReportSettings::Footer:
            return views_[2];
        case TReportSettings::Memo:
            break;
    }
    return nullptr;
}

int TReportDesigner::screen(int layoutPixels) const { return int(std::lround(layoutPixels * zoom_)); }

// ---- tools ----

void TReportDesigner::SetState(TReportPanelState state) {
    for (int i = 0; i < 3; ++i) {
        if (state != S::psPointing) views_[i]->ClearSelection();
        bands_[i]->SetPanelState(state);
        bands_[i]->AcceptsPresses = acceptsTool(bands_[i]->PAnelKind, state);
        // The cross of a drawing tool, the arrow of the selection tool.
        views_[i]->setCursor(state == S::psPointing ? Qt::ArrowCursor : Qt::CrossCursor);
    }
}

void TReportDesigner::EnableAll() {
    for (auto& band : bands_) band->AcceptsPresses = true;
}

// ---- the page area ----

void TReportDesigner::SetBandVisibleSize() { ReportBands::ApplyBandUse(settings_, dragBand_ >= 0); }

void TReportDesigner::SetDefaultFontCaption() {
    const TReportSettings& s = settings_;
    FontButton->setText(
        DefaultFontButtonText(fontOf(s.DefaultFontName, s.DefaultFontSize, s.DefaultBold, s.DefaultItalic)));
}

void TReportDesigner::LayoutPage() {
    laying_ = true;
    SetBandVisibleSize();
    const TReportSettings& s = settings_;
    QCheckBox* checks[4] = {HeaderCheck, DetailCheck, MemoCheck, FooterCheck};
    const bool used[4] = {s.UseHeader, s.UseDetail, s.UseMemo, s.UseFooter};
    for (int b = 0; b < 4; ++b) {
        const QSignalBlocker quiet(checks[b]);
        checks[b]->setChecked(used[b]);
    }

    Ruler->SetStartInch(double(s.MarginLeft) / layout::kPixelsPerInch);
    const int w = std::max(1, screen(ReportBands::BandWidth(s)));
    int y = 0;
    Ruler->setGeometry(0, y, w, kRulerHeight);
    y += kRulerHeight;
    const LayoutFont font = fontOf(s.DefaultFontName, s.DefaultFontSize, s.DefaultBold, s.DefaultItalic);
    for (int b = 0; b < 4; ++b) {
        captions_[b]->setGeometry(0, y, w, kCaptionHeight);
        y += kCaptionHeight;
        int h = 0;
        if (b == TReportSettings::Memo) {
            h = s.UseMemo ? screen(ReportBands::kMemoViewHeight) : 0;
            MemoView->setGeometry(0, y, w, h);
            MemoView->setVisible(h > 0);
        } else {
            const int i = b == TReportSettings::Footer ? 2 : b;
            h = screen(ReportBands::Height(s, Band(b)));
            bands_[i]->SetSize(w, h);
            bands_[i]->Font = font;
            views_[i]->PanelChanged();
            views_[i]->move(0, y);
            views_[i]->setVisible(h > 0);
        }
        y += h;
        Sizers[b]->setGeometry(0, y, w, kSizerHeight);
        Sizers[b]->setEnabled(b != TReportSettings::Memo && used[b]);
        y += kSizerHeight;
    }
    PageArea->setFixedSize(w, std::max(y, screen(ReportBands::PageAreaHeight(s))));
    MemoProperties->setVisible(s.UseMemo);
    MemoAlign[std::clamp(s.MemoAlignment, 0, 2)]->setChecked(true);
    showMemo();
    SetDefaultFontCaption();
    laying_ = false;
}

void TReportDesigner::bandUseChanged() {
    if (laying_) return;
    settings_.UseHeader = HeaderCheck->isChecked();
    settings_.UseDetail = DetailCheck->isChecked();
    settings_.UseMemo = MemoCheck->isChecked();
    settings_.UseFooter = FooterCheck->isChecked();
    LayoutPage();
}

void TReportDesigner::showMemo() {
    const TReportSettings& s = settings_;
    QFont font(s.MemoFontName);
    font.setPointSize(std::max(1, s.MemoFontSize));
    font.setBold(s.MemoBold);
    font.setItalic(s.MemoItalic);
    MemoView->setFont(font);
    const Qt::Alignment across = s.MemoAlignment == 1   ? Qt::AlignRight
                                 : s.MemoAlignment == 2 ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
    MemoView->setAlignment(across | Qt::AlignTop);
    const int memo = data_->FindField("MEMO");
    MemoView->setText(memo >= 0 && data_->Active() ? data_->MemoText(memo) : QString());
}

// ---- the mouse on the bands and sizers ----

bool TReportDesigner::eventFilter(QObject* watched, QEvent* event) {
    // A band reached with Tab is scrolled into sight.
    if (event->type() == QEvent::FocusIn)
        for (TGPanelView* v : views_)
            if (watched == v) scroll_->ensureWidgetVisible(v, 0, 20);
    // Selecting in one band clears the selection of the other two.
    if (event->type() == QEvent::MouseButtonPress) {
        for (TGPanelView* v : views_)
            if (watched == v)
                for (TGPanelView* other : views_)
                    if (other != v && other->Handle().Count() > 0) other->ClearSelection();
    }
    for (int b : {int(TReportSettings::Header), int(TReportSettings::Detail), int(TReportSettings::Footer)}) {
        if (watched != Sizers[b]) continue;
        // A mouse event only in the mouse cases: the filter sees every kind of event.
        const auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut: {
                QPalette p = Sizers[b]->palette();
                p.setColor(QPalette::Window, event->type() == QEvent::FocusIn ? palette().color(QPalette::Highlight)
                                                                              : QColor(128, 128, 128));
                Sizers[b]->setPalette(p);
                if (event->type() == QEvent::FocusIn) scroll_->ensureWidgetVisible(Sizers[b], 0, 40);
                return false;
            }
            case QEvent::KeyPress: {
                // Up and Down move the band's bottom a pixel, ten with Shift, as a drag would.
                const auto* key = static_cast<QKeyEvent*>(event);
                const int step = key->modifiers() & Qt::ShiftModifier ? 10 : 1;
                const int dy = key->key() == Qt::Key_Down ? step : key->key() == Qt::Key_Up ? -step : 0;
                if (dy == 0 || !Sizers[b]->isEnabled()) return false;
                const int height = ReportBands::Height(settings_, Band(b));
                ReportBands::SetHeight(settings_, Band(b), ReportBands::DraggedHeight(settings_, Band(b), height, dy));
                LayoutPage();
                TGPanelView* v = BandView(Band(b));
                v->ClearSelection();
                v->Panel().KeepObjectsInside();
                v->PanelChanged();
                return true;
            }
            case QEvent::MouseButtonPress:
                if (mouse()->button() != Qt::LeftButton || !Sizers[b]->isEnabled()) return true;
                dragBand_ = b;
                dragStartHeight_ = ReportBands::Height(settings_, Band(b));
                dragStartY_ = int(mouse()->globalPosition().y());
                return true;
            case QEvent::MouseMove:
                if (dragBand_ == b) {
                    const int dy = int(std::lround((mouse()->globalPosition().y() - dragStartY_) / zoom_));
                    ReportBands::SetHeight(
                        settings_, Band(b),
                        ReportBands::DraggedHeight(settings_, Band(b), dragStartHeight_, dy));
                    LayoutPage();
                }
                return true;
            case QEvent::MouseButtonRelease:
                if (dragBand_ == b && mouse()->button() == Qt::LeftButton) {
                    dragBand_ = -1;
                    TGPanelView* v = BandView(Band(b));
                    v->ClearSelection();
                    v->Panel().KeepObjectsInside();
                    v->PanelChanged();
                }
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TReportDesigner::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LayoutPage();
}

// ---- commands ----

void TReportDesigner::ChangeLayoutButtonClick() {
    TReportProperties properties(settings_, this);
    if (properties.exec() != QDialog::Accepted) return;
    settings_ = properties.settings();
    if (const QString text = properties.layoutText(); !text.isEmpty()) LayoutLabel->setText(text);
    // A smaller page may leave less room than the bands take: they give it back from the
    // bottom up.
    for (Band b : {TReportSettings::Footer, TReportSettings::Detail, TReportSettings::Header})
        ReportBands::SetHeight(settings_, b,
                               ReportBands::Fitted(settings_, b, ReportBands::Height(settings_, b)));
    LayoutPage();
    for (TGPanelView* v : views_) {
        v->ClearSelection();
        v->Panel().KeepObjectsInside();
        v->PanelChanged();
    }
}

void TReportDesigner::FontButtonClick() {
    TReportSettings& s = settings_;
    LayoutFont font = fontOf(s.DefaultFontName, s.DefaultFontSize, s.DefaultBold, s.DefaultItalic);
    if (!dialogs_->chooseFont(font, this)) return;
    s.DefaultFontName = font.Name;
    s.DefaultFontSize = font.Size();
    s.DefaultBold = font.has(fsBold);
    s.DefaultItalic = font.has(fsItalic);
    for (auto& band : bands_) band->Font = font;
    SetDefaultFontCaption();
}

void TReportDesigner::MemoFontClick() {
    TReportSettings& s = settings_;
    LayoutFont font = fontOf(s.MemoFontName, s.MemoFontSize, s.MemoBold, s.MemoItalic);
    if (!dialogs_->chooseFont(font, this)) return;
    s.MemoFontName = font.Name;
    s.MemoFontSize = font.Size();
    s.MemoBold = font.has(fsBold);
    s.MemoItalic = font.has(fsItalic);
    LayoutPage();
}

void TReportDesigner::moveRecord(int how) {
    RecordMoves::MoveRecord(addresses_, RecordMoves::Move(how));
    PDetail().RefreshData();
    view(1)->PanelChanged();
    showMemo();
}

// ---- the end ----

void TReportDesigner::accept() {
    // A band without height is not printed.
    QCheckBox* checks[3] = {HeaderCheck, DetailCheck, FooterCheck};
    bool* used[3] = {&settings_.UseHeader, &settings_.UseDetail, &settings_.UseFooter};
    for (int i = 0; i < 3; ++i) {
        if (ReportBands::Height(settings_, bandOf(i)) != 0) continue;
        *used[i] = false;
        const QSignalBlocker quiet(checks[i]);
        checks[i]->setChecked(false);
    }
    if (!settings_.UseHeader && !settings_.UseDetail && !settings_.UseMemo && !settings_.UseFooter) {
        WindowMessages().inform(kNoBands);
        LayoutPage();
        return;
    }
    for (int i = 0; i < 3; ++i) {
        views_[i]->ClearSelection();
        if (*used[i])
            bands_[i]->RemoveObjectsOutside();
        else
            bands_[i]->ClearObjects();
        for (int o = 0; o < bands_[i]->ObjectCount(); ++o) bands_[i]->Object(o)->PrepareForSave();
    }
    LayoutPage();
    QDialog::accept();
}

bool TReportDesigner::modified() const {
    if (!(settings_ == openedSettings_) || DescriptionEdit->text() != openedDescription_) return true;
    for (TGPanelView* v : views_)
        if (!v->UndoStack().isClean()) return true;
    return false;
}

void TReportDesigner::reject() {
    if (modified()) {
        switch (WindowMessages().askYesNoCancel("The report has been changed. Save the changes?",
                                                QStringLiteral("Cancel"))) {
            case Messages::Answer::Yes: return accept();
            case Messages::Answer::No: break;
            case Messages::Answer::Cancel: return;
        }
    }
    QDialog::reject();
}

ReportDefinition::Definition TReportDesigner::definition() const {
    ReportDefinition::Definition d = def_;
    d.description = DescriptionEdit->text().left(kMaxDescription);
    d.layout = LayoutLabel->text();
    return d;
}

bool TReportDesigner::Save(xbase::Table& reports, uint32_t recNo, const QString& sysDataDir, QString* error) {
    ReportDefinition::Definition d = definition();
    if (!ReportDefinition::SaveReport(reports, recNo, d, sysDataDir, PHeader(), PDetail(), PFooter(),
                                      settings_, error))
        return false;
    def_ = d;
    return true;
}
