#include "LetterLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "LetterText.h"
#include "TBaseReport.h"

namespace {

// The layout device: one pixel per twip.
QImage twipsDevice() {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(LetterPage::kTwipsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool isBreak(QChar c, bool atBlanks) {
    return c == QLatin1Char('\t') || c == QChar::LineSeparator || (atBlanks && c == QLatin1Char(' '));
}

}  // namespace

LetterLayout::LetterLayout(const QTextDocument& letter) : page_(LetterPage::Of(letter)), device_(twipsDevice()) {
    const std::unique_ptr<QTextDocument> doc = LetterText::Copy(letter);
    doc->setDocumentMargin(0);
    // The editor's "Word Wrap" off leaves its document unwrapped; paper always wraps.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->documentLayout()->setPaintDevice(&device_);
    const double pageHeight = page_.textHeight();
    doc->setPageSize(QSizeF(page_.textWidth(), pageHeight));
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    pages_.resize(size_t(std::max(1, doc->pageCount())));
    shades_.resize(pages_.size());

    const QFont defaultFont = doc->defaultFont();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* tl = block.layout();
        if (!tl) continue;
        const QPointF origin = layout->blockBoundingRect(block).topLeft();
        const bool justified = block.blockFormat().alignment() & Qt::AlignJustify;
        const int blockStart = block.position();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const double top = origin.y() + line.y();
            const size_t index = size_t(std::max(0.0, std::floor((top + 0.5) / pageHeight)));
            if (index >= pages_.size()) {
                pages_.resize(index + 1);
                shades_.resize(index + 1);
            }
            const double baseline = top + line.ascent() - double(index) * pageHeight;
            const bool atBlanks = justified && i + 1 < tl->lineCount();
            const int lineStart = line.textStart();
            const int lineEnd = lineStart + line.textLength();
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int fStart = fragment.position() - blockStart;
                const int fEnd = fStart + fragment.length();
                const int from = std::max(fStart, lineStart), to = std::min(fEnd, lineEnd);
                if (from >= to) continue;
                const QTextCharFormat cf = fragment.charFormat();
                Format f;
                const QStringList families = cf.fontFamilies().toStringList();
                f.family = families.isEmpty() || families.first().isEmpty() ? defaultFont.family()
                                                                            : families.first();
                f.points = cf.fontPointSize() > 0 ? cf.fontPointSize() : defaultFont.pointSizeF();
                f.bold = cf.fontWeight() >= QFont::DemiBold;
                f.italic = cf.fontItalic();
                f.underline = cf.fontUnderline();
                f.strikeOut = cf.fontStrikeOut();
                f.color = cf.hasProperty(QTextFormat::ForegroundBrush) ? cf.foreground().color()
                                                                        : QColor(Qt::black);
                const int format = formatIndex(f);
                if (cf.hasProperty(QTextFormat::BackgroundBrush) && cf.background().style() != Qt::NoBrush) {
                    const double x1 = origin.x() + line.cursorToX(from), x2 = origin.x() + line.cursorToX(to);
                    shades_[index].push_back({QRectF(std::min(x1, x2), top - double(index) * pageHeight,
                                                     std::fabs(x2 - x1), line.height()),
                                              cf.background().color()});
                }
                const QString text = block.text();
                int start = from;
                for (int pos = from; pos <= to; ++pos) {
                    if (pos < to && !isBreak(text.at(pos), atBlanks)) continue;
                    if (pos > start) {
                        QString piece = text.mid(start, pos - start);
                        piece.remove(QChar::SoftHyphen);
                        if (!piece.trimmed().isEmpty())
                            pages_[index].push_back(
                                {piece, origin.x() + line.cursorToX(start), baseline, format});
                    }
                    start = pos + 1;
                }
            }
        }
    }
}

LetterLayout::~LetterLayout() = default;

int LetterLayout::formatIndex(const Format& f) {
    for (size_t i = 0; i < formats_.size(); ++i) {
        const Format& g = formats_[i];
        if (g.family == f.family && g.points == f.points && g.bold == f.bold && g.italic == f.italic &&
            g.underline == f.underline && g.strikeOut == f.strikeOut && g.color == f.color)
            return int(i);
    }
    formats_.push_back(f);
    return int(formats_.size()) - 1;
}

void LetterLayout::drawPage(int index, TBaseReport& report) const {
    const double left = double(page_.marginLeft) / LetterPage::kTwipsPerInch;
    const double top = double(page_.marginTop) / LetterPage::kTwipsPerInch;
    for (const Shade& shade : shades_.at(size_t(index))) {
        const QRectF r = shade.rect.translated(page_.marginLeft, page_.marginTop);
        const double k = LetterPage::kTwipsPerInch;
        report.setPen(shade.color, Qt::NoPen, 0);
        report.setBrush(shade.color, Qt::SolidPattern);
        report.rectangle(r.left() / k, r.top() / k, r.right() / k, r.bottom() / k);
    }
    int current = -1;
    for (const Run& run : pages_.at(size_t(index))) {
        if (run.format != current) {
            const Format& f = formats_[size_t(run.format)];
            report.setFont(f.family, f.points);
            report.setBold(f.bold);
            report.setItalic(f.italic);
            report.setUnderline(f.underline);
            report.setStrikeOut(f.strikeOut);
            report.setFontColor(f.color);
            current = run.format;
        }
        report.printXY(left + run.x / LetterPage::kTwipsPerInch, top + run.baseline / LetterPage::kTwipsPerInch,
                       run.text);
    }
}
