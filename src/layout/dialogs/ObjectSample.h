#pragma once

#include <QWidget>

class TGGraphicControl;

// Shows one layout object the way a panel paints it, sized to the widget: the samples
// of the effects and symbol dialogs. The object is borrowed and must outlive the widget.
class ObjectSample : public QWidget {
  public:
    explicit ObjectSample(TGGraphicControl* object, QWidget* parent = nullptr);
    // After the object changed.
    void objectChanged() { update(); }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    TGGraphicControl* object_;
};
