#pragma once

#include <QDialog>
#include <memory>

#include "ObjectEdits.h"

class ColorButton;
class ObjectSample;
class QComboBox;
class QPushButton;
class TGPLabel;

// "Text 3D Effects": the direction and depth of a text's shadow and highlight, their
// colours and the font colour, tried out at once on a sample text.
class TText3DEffects : public QDialog {
    Q_OBJECT

  public:
    explicit TText3DEffects(const layout::TextEffects& effects, QWidget* parent = nullptr);
    ~TText3DEffects() override;
    layout::TextEffects effects() const { return effects_; }

    QComboBox *ShadowDirection, *ShadowDepth, *HighlightDirection, *HighlightDepth;
    ColorButton *ShadowColor, *HighlightColor, *FontColor;
    ObjectSample* Sample;
    QPushButton *OkButton, *CancelButton;

  private:
    void changed();

    layout::TextEffects effects_;
    std::unique_ptr<TGPLabel> sample_;
};
