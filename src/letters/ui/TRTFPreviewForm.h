#pragma once

#include <QDialog>
#include <memory>

#include "PageStream.h"

class QLabel;
class QPushButton;
class QToolButton;
class QScrollArea;
class QTextDocument;
class Settings;
namespace xbase {
class Table;
}

// "Preview Letters": the letter merged with the address table's current record, page
// by page, at a zoom. The record buttons move the table itself (the preview does not
// put it back: afterwards the table stands on the record last previewed) and merge the
// new record into a fresh copy of the template.
class TRTFPreviewForm : public QDialog {
    Q_OBJECT

  public:
    // `letter` is copied; `addresses` is borrowed for the window's life.
    TRTFPreviewForm(const QTextDocument& letter, xbase::Table& addresses, Settings* settings,
                    QWidget* parent = nullptr);
    ~TRTFPreviewForm() override;

    int zoom() const { return zoom_; }
    void setZoom(int percent);
    int pageNumber() const { return page_ + 1; }
    int pageCount() const { return int(stream_.pages.size()); }

    void ZoomIn();
    void ZoomOut();
    void PageWidth();
    void WholePage();
    void NextPage();
    void PreviousPage();
    void FirstRecord();
    void PreviousRecord();
    void NextRecord();
    void LastRecord();

    QScrollArea* ScrollBox;
    QLabel* PagePanel;
    QToolButton *FirstButton, *PrevButton, *NextButton, *LastButton;
    QToolButton *PrevPageButton, *NextPageButton, *ZoomInButton, *ZoomOutButton, *PageWidthButton,
        *WholePageButton;
    QPushButton* OkButton;

    // Closes the window; its placement is stored first.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void merge();
    void draw();
    double pageWidthInches() const;
    double pageHeightInches() const;

    std::unique_ptr<QTextDocument> template_;
    xbase::Table& addresses_;
    Settings* settings_;
    PageStream stream_;
    int zoom_ = 100;
    int page_ = 0;
    bool placed_ = false;  // the stored placement was put on the window
};
