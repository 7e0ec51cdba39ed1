#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "PageStream.h"
#include "PrintKind.h"

class QPushButton;
class QScrollArea;
class Settings;
class TFilePreview;

// The preview window of every print kind: pages through a finished page stream at a
// zoom. The caller gives it the stream, the caption and the first zoom; it cannot
// print. Its caption then reads "Preview Page n of total ( z% )". With `settings` it
// keeps its placement between uses.
class TPreviewWindow : public QDialog {
    Q_OBJECT

  public:
    TPreviewWindow(std::shared_ptr<const PageStream> stream, const QString& caption,
                   PreviewZoom zoom = PreviewZoom::WholePage, Settings* settings = nullptr,
                   QWidget* parent = nullptr);

    int pageIndex() const;  // 0-based
    int pageCount() const;
    double zoom() const;
    void setZoom(double percent);
    const QString& caption() const { return caption_; }
    // What "Help" does; the preview's page of the manual unless set.
    std::function<void()> onHelp;

    TFilePreview* FilePreview;
    QScrollArea* ScrollBox;
    QPushButton* FirstButton;
    QPushButton* PrevButton;
    QPushButton* NextButton;
    QPushButton* LastButton;
    QPushButton* ZoomInButton;
    QPushButton* ZoomOutButton;
    QPushButton* PageWidthButton;
    QPushButton* WholePageButton;
    QPushButton* Zoom100Button;
    QPushButton* OkButton;
    QPushButton* HelpButton;

  public slots:
    void FirstButtonClick();
    void PrevButtonClick();
    void NextButtonClick();
    void LastButtonClick();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();
    void PageWidthButtonClick();
    void WholePageButtonClick();
    void Zoom100ButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void goToPage(int index);
    void updateCaption();

    QString caption_;
    PreviewZoom initialZoom_;
    Settings* settings_;
    bool placed_ = false;
};
