#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "LetterPage.h"

class QTextDocument;
class TBaseReport;

// A letter laid out on the text area of its page (the sheet less the four margins)
// and cut into pages: a page ends where the next line no longer fits and before every
// paragraph that starts with a page break. Lines always wrap at the right margin,
// whatever wrapping the editor showed the text with: nothing prints off the sheet. The layout is made in twips, whatever
// device the pages are drawn on later, so that a preview, a printer and a PDF break
// the lines and pages alike.
class LetterLayout {
  public:
    // One piece of text as it is drawn: a run of one format, cut at tabs (and at
    // blanks on justified lines), with its baseline start in twips from the text
    // area's top-left corner.
    struct Run {
        QString text;
        double x = 0, baseline = 0;  // twips
        int format = 0;              // index into formats()
    };

    // Lays out a copy of `letter`, which may change or go afterwards.
    explicit LetterLayout(const QTextDocument& letter);
    ~LetterLayout();
    LetterLayout(const LetterLayout&) = delete;
    LetterLayout& operator=(const LetterLayout&) = delete;

    const LetterPage& page() const { return page_; }
    int pageCount() const { return int(pages_.size()); }
    // The runs of page `index` (0 for the first).
    const std::vector<Run>& runs(int index) const { return pages_.at(size_t(index)); }

    // A background colour behind a piece of text: the piece's line height and width,
    // in twips from the text area's top-left corner.
    struct Shade {
        QRectF rect;
        QColor color;
    };
    const std::vector<Shade>& shades(int index) const { return shades_.at(size_t(index)); }

    // Draws page `index` into `report`, the text area starting at the page's left and
    // top margins on the sheet: the background colours first, then the text.
    // REQUIRES: the report is printing.
    void drawPage(int index, TBaseReport& report) const;

  private:
    struct Format {
        QString family;
        double points = 10;
        bool bold = false, italic = false, underline = false, strikeOut = false;
        QColor color;
    };
    int formatIndex(const Format& format);

    LetterPage page_;
    QImage device_;
    std::vector<Format> formats_;
    std::vector<std::vector<Run>> pages_;
    std::vector<std::vector<Shade>> shades_;
};
