#include "LetterPage.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <QTextOption>
#include <algorithm>

namespace {

// Properties of the root frame's format that hold the page; never renumber.
enum PageProperty {
    kPaperWidth = QTextFormat::UserProperty + 0x4C50,
    kPaperHeight,
    kMarginLeft,
    kMarginRight,
    kMarginTop,
    kMarginBottom,
};

}  // namespace

int LetterPage::textWidth() const { return std::max(kTwipsPerInch, paperWidth - marginLeft - marginRight); }

int LetterPage::textHeight() const { return std::max(kTwipsPerInch, paperHeight - marginTop - marginBottom); }

LetterPage LetterPage::Of(const QTextDocument& document) {
    const QTextFrameFormat f = document.rootFrame()->frameFormat();
    LetterPage page;
    auto take = [&](int property, int* value) {
        if (f.hasProperty(property)) *value = f.intProperty(property);
    };
    take(kPaperWidth, &page.paperWidth);
    take(kPaperHeight, &page.paperHeight);
    take(kMarginLeft, &page.marginLeft);
    take(kMarginRight, &page.marginRight);
    take(kMarginTop, &page.marginTop);
    take(kMarginBottom, &page.marginBottom);
    return page;
}

void LetterPage::applyTo(QTextDocument* document) const {
    QTextFrameFormat f = document->rootFrame()->frameFormat();
    f.setProperty(kPaperWidth, paperWidth);
    f.setProperty(kPaperHeight, paperHeight);
    f.setProperty(kMarginLeft, marginLeft);
    f.setProperty(kMarginRight, marginRight);
    f.setProperty(kMarginTop, marginTop);
    f.setProperty(kMarginBottom, marginBottom);
    document->rootFrame()->setFrameFormat(f);
    // Tab stops every half inch where a paragraph sets none, as word processors do.
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(TwipsToDocument(kDefaultTab));
    document->setDefaultTextOption(option);
}
