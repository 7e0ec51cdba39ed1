#pragma once

#include <QWidget>

#include "LetterPage.h"

// The ruler above the letter editor, in inches: the page's margins (grey) around the
// text width, and the indents of the paragraph at the cursor as three markers: the
// first-line indent at the top, the left and right indents at the bottom. Dragging a
// marker with the mouse reports the new indents when the button is released.
class LetterRuler : public QWidget {
    Q_OBJECT

  public:
    explicit LetterRuler(QWidget* parent = nullptr);

    // The page shown (margins and text width).
    void setPage(const LetterPage& page);
    // The paragraph's indents, in twips from the text's left (right: from its right).
    void setIndents(int first, int left, int right);
    // Where the text's left edge is, in the ruler's pixels (follows the editor's
    // horizontal scrolling), and the pixels per inch the text is shown at.
    void setOrigin(int x, double pixelsPerInch);

    int firstIndent() const { return first_; }
    int leftIndent() const { return left_; }
    int rightIndent() const { return right_; }

    QSize sizeHint() const override;

    enum class Marker { None, First, Left, Right };
    // The marker under `x, y`, for the mouse; the left marker takes the first-line one
    // along when the two stand together, as the lower half of the left marker.
    Marker markerAt(const QPoint& at) const;
    // The x of a position `twips` from the text's left edge.
    int xOf(int twips) const;

  signals:
    // A drag ended with these indents (twips).
    void indentsChanged(int first, int left, int right);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int twipsAt(int x) const;

    LetterPage page_;
    int first_ = 0, left_ = 0, right_ = 0;
    int origin_ = 0;
    double perInch_ = LetterPage::kDocumentDpi;
    Marker dragging_ = Marker::None;
    int dragOffset_ = 0;  // first-line indent minus left, kept while the left marker moves
};
