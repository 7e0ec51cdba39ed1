#include "TText3DEffects.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "ColorButton.h"
#include "ObjectSample.h"
#include "TGPLabel.h"

namespace {

// The list positions are the enumerations' ordinals.
const char* const kShadowDirections[] = {"None", "Right", "Left", "Lower Right", "Lower Left", "Down"};
const char* const kHighlightDirections[] = {"None", "Right", "Left", "Upper Right", "Upper Left", "Up"};

QComboBox* list(const char* name, const QStringList& items, int current) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

QStringList depths() {
    QStringList d;
    for (int i = 0; i <= 10; ++i) d << QString::number(i);
    return d;
}

QStringList names(const char* const* texts, int count) {
    QStringList l;
    for (int i = 0; i < count; ++i) l << texts[i];
    return l;
}

}  // namespace

TText3DEffects::TText3DEffects(const layout::TextEffects& e, QWidget* parent)
    : QDialog(parent), effects_(e), sample_(std::make_unique<TGPLabel>()) {
    setObjectName("TText3DEffects");
    setWindowTitle("Text 3D Effects");
    ShadowDirection = list("ShadowDirection", names(kShadowDirections, 6), e.shadowDirection);
    ShadowDepth = list("ShadowDepth", depths(), e.shadowDepth);
    HighlightDirection = list("HighlightDirection", names(kHighlightDirections, 6), e.highlightDirection);
    HighlightDepth = list("HighlightDepth", depths(), e.highlightDepth);
    ShadowColor = new ColorButton("&Shadow Color");
    ShadowColor->setObjectName("ShadowColor");
    ShadowColor->setColor(layout::ToQColor(e.shadowColor));
    HighlightColor = new ColorButton("Highli&ght Color");
    HighlightColor->setObjectName("HighlightColor");
    HighlightColor->setColor(layout::ToQColor(e.highlightColor));
    FontColor = new ColorButton("&Font Color");
    FontColor->setObjectName("FontColor");
    FontColor->setColor(layout::ToQColor(e.font.Color));

    sample_->SetCaption("Sample");
    Sample = new ObjectSample(sample_.get());
    Sample->setObjectName("Sample");
    Sample->setMinimumSize(260, 70);

    auto* form = new QFormLayout;
    form->addRow("Shadow &Direction", ShadowDirection);
    form->addRow("Shadow D&epth", ShadowDepth);
    form->addRow("&Highlight Direction", HighlightDirection);
    form->addRow("Highlight De&pth", HighlightDepth);
    auto* colors = new QVBoxLayout;
    for (ColorButton* b : {ShadowColor, HighlightColor, FontColor}) colors->addWidget(b);
    colors->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addSpacing(12);
    top->addLayout(colors);
    auto* sampleBox = new QGroupBox("Sample");
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(Sample);

    for (QComboBox* c : {ShadowDirection, ShadowDepth, HighlightDirection, HighlightDepth})
        connect(c, qOverload<int>(&QComboBox::currentIndexChanged), this, &TText3DEffects::changed);
    // Colours are taken only when chosen, so that a system colour stays one.
    connect(ShadowColor, &ColorButton::colorChanged, this, [this](const QColor& c) {
        effects_.shadowColor = layout::FromQColor(c);
        changed();
    });
    connect(HighlightColor, &ColorButton::colorChanged, this, [this](const QColor& c) {
        effects_.highlightColor = layout::FromQColor(c);
        changed();
    });
    connect(FontColor, &ColorButton::colorChanged, this, [this](const QColor& c) {
        effects_.font.Color = layout::FromQColor(c);
        changed();
    });
    changed();

    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    buttons.setMnemonics();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(sampleBox, 1);
    layout->addLayout(buttons.layout);
}

TText3DEffects::~TText3DEffects() = default;

void TText3DEffects::changed() {
    // A list without a selection (a value out of range in the file) keeps the value.
    if (ShadowDirection->currentIndex() >= 0)
        effects_.shadowDirection = TShadowDirection(ShadowDirection->currentIndex());
    if (ShadowDepth->currentIndex() >= 0) effects_.shadowDepth = ShadowDepth->currentIndex();
    if (HighlightDirection->currentIndex() >= 0)
        effects_.highlightDirection = THighlightDirection(HighlightDirection->currentIndex());
    if (HighlightDepth->currentIndex() >= 0) effects_.highlightDepth = HighlightDepth->currentIndex();
    layout::ApplyTextEffects(*sample_, effects_);
    sample_->SetBounds(0, 0, Sample->width(), Sample->height());
    Sample->objectChanged();
}
