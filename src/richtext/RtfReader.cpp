#include "RtfReader.h"

#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cstring>
#include <vector>

#include "CodePageText.h"
#include "LetterPage.h"

namespace {

constexpr int kMaxWordLength = 32;     // longer control words are read but not known
constexpr int kMaxNameLength = 256;    // font names
constexpr int kMaxTableEntries = 4096;  // fonts, colours
constexpr int kMaxTabs = 64;
constexpr int kMaxTwips = 31680;  // 22 inches: no page, margin or indent is larger

int clampInt(long long v, int lo, int hi) { return int(std::max<long long>(lo, std::min<long long>(hi, v))); }

// Destinations whose text is not part of the letter, skipped with all they hold.
bool isSkippedDestination(const char* word) {
    static const char* const kSkipped[] = {
        "annotation", "atnauthor", "atnid",     "author",    "bkmkend",     "bkmkstart",  "buptim",
        "category",   "colorschememapping",     "comment",   "company",     "creatim",    "datastore",
        "do",         "doccomm",   "docvar",    "falt",      "fldinst",     "filetbl",    "footer",
        "footerf",    "footerl",   "footerr",   "footnote",  "ftncn",       "ftnsep",     "ftnsepc",
        "generator",  "header",    "headerf",   "headerl",   "headerr",     "info",       "keywords",
        "latentstyles", "listoverridetable",    "listtable", "manager",     "mmathPr",    "nonshppict",
        "object",     "objdata",   "operator",  "panose",    "pgdsctbl",    "pict",       "printim",
        "private",    "revtbl",    "revtim",    "rsidtbl",   "shp",         "shpinst",    "stylesheet",
        "subject",    "tc",        "template",  "themedata", "title",       "txe",        "userprops",
        "xe",         "xmlnstbl",  "rxe",
    };
    for (const char* s : kSkipped)
        if (std::strcmp(s, word) == 0) return true;
    return false;
}

// Symbols that RTF writes as control words.
char16_t symbolOf(const char* word) {
    struct Symbol {
        const char* word;
        char16_t ch;
    };
    static const Symbol kSymbols[] = {
        {"emdash", 0x2014},    {"endash", 0x2013},    {"bullet", 0x2022}, {"lquote", 0x2018},
        {"rquote", 0x2019},    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002},   {"qmspace", 0x2005},   {"zwj", 0x200D},    {"zwnj", 0x200C},
    };
    for (const Symbol& s : kSymbols)
        if (std::strcmp(s.word, word) == 0) return s.ch;
    return 0;
}

enum class Destination { Text, FontTable, ColorTable };

// What a group carries: the character and paragraph formats in force, and where its
// text goes.
struct State {
    Destination destination = Destination::Text;
    int font = -1;  // font number; -1: the default font
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    int foreground = 0, background = 0;  // colour table indices; 0: automatic
    int unicodeSkip = 1;                 // \uc
    // Paragraph.
    Qt::Alignment alignment = Qt::AlignLeft;
    int firstIndent = 0, leftIndent = 0, rightIndent = 0, spaceBefore = 0, spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;

    void resetCharacter(int defaultFont) {
        font = defaultFont;
        halfPoints = 24;
        bold = italic = underline = strike = false;
        foreground = background = 0;
    }
    void resetParagraph() {
        alignment = Qt::AlignLeft;
        firstIndent = leftIndent = rightIndent = spaceBefore = spaceAfter = lineSpacing = 0;
        lineMultiple = false;
        tabs.clear();
        nextTabType = QTextOption::LeftTab;
    }
};

struct FontEntry {
    QString name;
    int charset = -1;
};

class Parser {
  public:
    Parser(const QByteArray& input, QTextDocument* document)
        : in_(input), doc_(document), cursor_(document) {}

    void run();
    void finish();  // the last paragraph's format, once

  private:
    // Input.
    bool atEnd() const { return pos_ >= in_.size(); }
    char peek() const { return in_.at(pos_); }

    void openGroup();
    void closeGroup();
    void skipGroup();  // the rest of the current group, whose state is already dropped
    void controlWord();
    void controlSymbol(char c);
    void text(char c);
    void hexByte();
    void skipBinary(long long count);

    // Output.
    void appendChar(QChar c);
    void appendBytes(char byte);
    void flushBytes();
    void flushText();
    void endParagraph();
    void pageBreak();
    void applyBlockFormat();
    QTextCharFormat charFormat() const;
    int codePage() const;

    State& state() { return stack_.back(); }

    // Tables.
    void fontTableWord(const char* word, bool hasParam, long long param);
    void fontTableText(char c);
    void colorTableText(char c);

    const QByteArray& in_;
    qsizetype pos_ = 0;
    QTextDocument* doc_;
    QTextCursor cursor_;
    std::vector<State> stack_;
    bool done_ = false;
    bool finished_ = false;

    int ansiCodePage_ = 1252;
    int defaultFont_ = -1;
    QHash<int, FontEntry> fonts_;
    int fontEntry_ = -1;  // the font table entry being read
    std::vector<QColor> colors_;
    int red_ = -1, green_ = -1, blue_ = -1;
    LetterPage page_;

    QString pending_;     // text not yet inserted, all in charFormat()
    QByteArray bytes_;    // \'hh bytes not yet decoded
    int bytesCodePage_ = 1252;
    int fallbackLeft_ = 0;  // characters after \uN still to skip
    bool blockHasText_ = false;
    bool blockPageBreak_ = false;
    bool starred_ = false;
};

void Parser::run() {
    doc_->clear();
    stack_.push_back(State());
    // The opening brace of {\rtf is the outermost group; its end ends the document.
    while (!atEnd() && !done_) {
        const char c = in_.at(pos_++);
        switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                if (atEnd()) break;
                if (std::isalpha(static_cast<unsigned char>(peek()))) {
                    controlWord();
                } else {
                    controlSymbol(in_.at(pos_++));
                }
                break;
            case '\r':
            case '\n':
                break;
            default:
                text(c);
        }
    }
    finish();
    page_.applyTo(doc_);
}

void Parser::finish() {
    if (finished_) return;
    finished_ = true;
    flushText();
    applyBlockFormat();
}

void Parser::openGroup() {
    flushText();
    if (int(stack_.size()) >= RtfReader::kMaxDepth) {
        skipGroup();
        return;
    }
    stack_.push_back(stack_.back());
    starred_ = false;
}

void Parser::closeGroup() {
    flushText();
    fallbackLeft_ = 0;
    if (stack_.size() <= 1) return;  // a stray brace
    if (stack_.size() == 2) {
        // The end of {\rtf ...}: the last paragraph takes the formats in force.
        finish();
        done_ = true;
    }
    stack_.pop_back();
}

void Parser::skipGroup() {
    // Counts braces only; escaped braces and \bin data do not count.
    int depth = 1;
    while (!atEnd() && depth > 0) {
        const char c = in_.at(pos_++);
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            --depth;
        } else if (c == '\\' && !atEnd()) {
            if (in_.mid(pos_, 3) == "bin") {
                pos_ += 3;
                long long n = 0;
                int digits = 0;
                while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek())) && digits < 12) {
                    n = n * 10 + (in_.at(pos_++) - '0');
                    ++digits;
                }
                if (!atEnd() && peek() == ' ') ++pos_;
                skipBinary(n);
            } else {
                ++pos_;  // \{ \} \\ and the first letter of a word
            }
        }
    }
    if (depth == 0 && stack_.size() == 1) {
        finish();
        done_ = true;
    }
}

void Parser::skipBinary(long long count) { pos_ = std::min<qsizetype>(in_.size(), pos_ + count); }

void Parser::controlWord() {
    char word[kMaxWordLength + 1];
    int length = 0;
    while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek()))) {
        const char c = in_.at(pos_++);
        if (length < kMaxWordLength) word[length++] = c;
    }
    word[length] = '\0';
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (!atEnd() && peek() == '-' && pos_ + 1 < in_.size() &&
        std::isdigit(static_cast<unsigned char>(in_.at(pos_ + 1)))) {
        negative = true;
        ++pos_;
    }
    int digits = 0;
    while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek()))) {
        const int d = in_.at(pos_++) - '0';
        if (digits++ < 10) param = param * 10 + d;
        hasParam = true;
    }
    if (negative) param = -param;
    if (!atEnd() && peek() == ' ') ++pos_;  // the delimiter belongs to the word

    if (std::strcmp(word, "bin") == 0) {
        skipBinary(hasParam ? std::max<long long>(0, param) : 0);
        return;
    }
    const bool starred = starred_;
    starred_ = false;
    if (starred || isSkippedDestination(word)) {
        // {\* ...} is a destination a reader may ignore; we ignore them all.
        flushText();
        if (stack_.size() > 1) {
            stack_.pop_back();
            skipGroup();
        }
        return;
    }

    State& s = state();
    if (s.destination == Destination::FontTable) {
        fontTableWord(word, hasParam, param);
        return;
    }
    if (s.destination == Destination::ColorTable) {
        const int v = clampInt(param, 0, 255);
        if (std::strcmp(word, "red") == 0) red_ = v;
        if (std::strcmp(word, "green") == 0) green_ = v;
        if (std::strcmp(word, "blue") == 0) blue_ = v;
        return;
    }

    // A control word after \uN takes the place of one fallback character.
    if (fallbackLeft_ > 0 && std::strcmp(word, "u") != 0) {
        --fallbackLeft_;
        return;
    }

    const int p = clampInt(param, -kMaxTwips, kMaxTwips);
    auto is = [&](const char* w) { return std::strcmp(word, w) == 0; };
    auto on = [&] { return !hasParam || param != 0; };

    if (is("par") || is("sect") || is("row")) {
        endParagraph();
    } else if (is("page")) {
        pageBreak();
    } else if (is("line")) {
        appendChar(QChar::LineSeparator);
    } else if (is("tab") || is("cell") || is("nestcell")) {
        appendChar(QLatin1Char('\t'));
    } else if (is("u")) {
        if (!hasParam) return;
        long long code = param;
        if (code < 0) code += 65536;
        if (code < 0 || code > 0xFFFF) code = 0xFFFD;
        fallbackLeft_ = 0;
        appendChar(QChar(char16_t(code)));
        fallbackLeft_ = s.unicodeSkip;
    } else if (is("uc")) {
        s.unicodeSkip = clampInt(param, 0, 16);
    } else if (char16_t sym = symbolOf(word)) {
        appendChar(QChar(sym));
    } else if (is("fonttbl")) {
        flushText();
        s.destination = Destination::FontTable;
        fontEntry_ = -1;
    } else if (is("colortbl")) {
        flushText();
        s.destination = Destination::ColorTable;
        colors_.clear();
        red_ = green_ = blue_ = -1;
    } else if (is("ansicpg")) {
        if (hasParam && param > 0 && param < 100000) ansiCodePage_ = int(param);
    } else if (is("mac")) {
        ansiCodePage_ = 10000;
    } else if (is("pc")) {
        ansiCodePage_ = 437;
    } else if (is("pca")) {
        ansiCodePage_ = 850;
    } else if (is("deff")) {
        defaultFont_ = clampInt(param, -1, 1 << 20);
        if (s.font < 0) s.font = defaultFont_;
    } else if (is("paperw")) {
        if (p > 0) page_.paperWidth = clampInt(p, LetterPage::kTwipsPerInch, kMaxTwips);
    } else if (is("paperh")) {
        if (p > 0) page_.paperHeight = clampInt(p, LetterPage::kTwipsPerInch, kMaxTwips);
    } else if (is("margl")) {
        page_.marginLeft = clampInt(p, 0, kMaxTwips);
    } else if (is("margr")) {
        page_.marginRight = clampInt(p, 0, kMaxTwips);
    } else if (is("margt")) {
        page_.marginTop = clampInt(p, 0, kMaxTwips);
    } else if (is("margb")) {
        page_.marginBottom = clampInt(p, 0, kMaxTwips);
    } else if (is("plain")) {
        flushText();
        s.resetCharacter(defaultFont_);
    } else if (is("f")) {
        flushText();
        s.font = clampInt(param, 0, 1 << 20);
    } else if (is("fs")) {
        flushText();
        s.halfPoints = param > 0 ? clampInt(param, 2, 3276) : 24;
    } else if (is("b")) {
        flushText();
        s.bold = on();
    } else if (is("i")) {
        flushText();
        s.italic = on();
    } else if (is("ul") || is("uld") || is("uldb") || is("ulw") || is("uldash") || is("ulth")) {
        flushText();
        s.underline = on();
    } else if (is("ulnone")) {
        flushText();
        s.underline = false;
    } else if (is("strike")) {
        flushText();
        s.strike = on();
    } else if (is("cf")) {
        flushText();
        s.foreground = clampInt(param, 0, kMaxTableEntries);
    } else if (is("cb") || is("highlight") || is("chcbpat")) {
        flushText();
        s.background = clampInt(param, 0, kMaxTableEntries);
    } else if (is("pard")) {
        s.resetParagraph();
    } else if (is("ql")) {
        s.alignment = Qt::AlignLeft;
    } else if (is("qr")) {
        s.alignment = Qt::AlignRight;
    } else if (is("qc")) {
        s.alignment = Qt::AlignHCenter;
    } else if (is("qj")) {
        s.alignment = Qt::AlignJustify;
    } else if (is("fi")) {
        s.firstIndent = p;
    } else if (is("li")) {
        s.leftIndent = p;
    } else if (is("ri")) {
        s.rightIndent = p;
    } else if (is("sb")) {
        s.spaceBefore = clampInt(p, 0, kMaxTwips);
    } else if (is("sa")) {
        s.spaceAfter = clampInt(p, 0, kMaxTwips);
    } else if (is("sl")) {
        s.lineSpacing = p;
    } else if (is("slmult")) {
        s.lineMultiple = param != 0;
    } else if (is("tqr")) {
        s.nextTabType = QTextOption::RightTab;
    } else if (is("tqc")) {
        s.nextTabType = QTextOption::CenterTab;
    } else if (is("tqdec")) {
        s.nextTabType = QTextOption::DelimiterTab;
    } else if (is("tx") || is("tb")) {
        if (s.tabs.size() < kMaxTabs && p >= 0) {
            QTextOption::Tab tab(TwipsToDocument(p), s.nextTabType);
            if (s.nextTabType == QTextOption::DelimiterTab) tab.delimiter = QLatin1Char('.');
            s.tabs.append(tab);
        }
        s.nextTabType = QTextOption::LeftTab;
    }
    // Every other word is a format or a setting a letter does not keep.
}

void Parser::controlSymbol(char c) {
    if (c == '*') {
        starred_ = true;
        return;
    }
    if (state().destination != Destination::Text) {
        if (state().destination == Destination::FontTable && (c == '\\' || c == '{' || c == '}'))
            fontTableText(c);
        if (c == '\'') pos_ = std::min<qsizetype>(in_.size(), pos_ + 2);
        return;
    }
    if (c == '\'') {
        hexByte();
        return;
    }
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    switch (c) {
        case '\\':
        case '{':
        case '}':
            appendChar(QLatin1Char(c));
            break;
        case '~':
            appendChar(QChar(0x00A0));
            break;
        case '_':
            appendChar(QChar(0x2011));
            break;
        case '-':
            appendChar(QChar(0x00AD));
            break;
        case '\r':
        case '\n':
            endParagraph();  // a backslash before a line end is \par
            break;
        case '\t':
            appendChar(QLatin1Char('\t'));
            break;
        default:
            break;  // \| \: and the like: index and formula marks
    }
}

void Parser::hexByte() {
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        if (atEnd()) return;
        const char h = peek();
        int d;
        if (h >= '0' && h <= '9') {
            d = h - '0';
        } else if (h >= 'a' && h <= 'f') {
            d = h - 'a' + 10;
        } else if (h >= 'A' && h <= 'F') {
            d = h - 'A' + 10;
        } else {
            return;  // a broken escape: what follows is read as text
        }
        ++pos_;
        value = value * 16 + d;
    }
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    appendBytes(char(value));
}

void Parser::text(char c) {
    State& s = state();
    if (s.destination == Destination::FontTable) {
        fontTableText(c);
        return;
    }
    if (s.destination == Destination::ColorTable) {
        colorTableText(c);
        return;
    }
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    if (static_cast<unsigned char>(c) >= 0x80) {
        appendBytes(c);  // an unescaped byte of the code page
    } else if (c == '\t') {
        appendChar(QLatin1Char('\t'));
    } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
        appendChar(QLatin1Char(c));
    }
}

void Parser::fontTableWord(const char* word, bool hasParam, long long param) {
    if (std::strcmp(word, "f") == 0 && hasParam) {
        if (fonts_.size() >= kMaxTableEntries) {
            fontEntry_ = -1;
            return;
        }
        fontEntry_ = clampInt(param, 0, 1 << 20);
        fonts_[fontEntry_] = FontEntry();
    } else if (std::strcmp(word, "fcharset") == 0 && fontEntry_ >= 0) {
        fonts_[fontEntry_].charset = clampInt(param, 0, 255);
    }
}

void Parser::fontTableText(char c) {
    if (fontEntry_ < 0) return;
    FontEntry& entry = fonts_[fontEntry_];
    if (c == ';') {
        entry.name = entry.name.trimmed();
        fontEntry_ = -1;  // the name is complete; more text is not part of it
        return;
    }
    if (entry.name.size() < kMaxNameLength && static_cast<unsigned char>(c) >= 0x20)
        entry.name += QChar(static_cast<unsigned char>(c));
}

void Parser::colorTableText(char c) {
    if (c != ';') return;
    if (int(colors_.size()) >= kMaxTableEntries) return;
    if (red_ < 0 && green_ < 0 && blue_ < 0) {
        colors_.push_back(QColor());  // the automatic colour
    } else {
        colors_.push_back(QColor(std::max(0, red_), std::max(0, green_), std::max(0, blue_)));
    }
    red_ = green_ = blue_ = -1;
}

int Parser::codePage() const {
    const State& s = stack_.back();
    const auto it = fonts_.constFind(s.font);
    if (it != fonts_.constEnd() && it->charset >= 0) {
        if (const int page = CodePageText::codePageOfCharset(it->charset)) {
            // charset 0 says "ANSI": the document's code page.
            return it->charset == 0 ? ansiCodePage_ : page;
        }
    }
    return ansiCodePage_;
}

void Parser::appendBytes(char byte) {
    const int page = codePage();
    if (!bytes_.isEmpty() && page != bytesCodePage_) flushBytes();
    bytesCodePage_ = page;
    bytes_ += byte;
}

void Parser::flushBytes() {
    if (bytes_.isEmpty()) return;
    QString decoded = CodePageText::decode(bytesCodePage_, bytes_);
    bytes_.clear();
    for (QChar c : decoded) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) continue;
        pending_ += c;
    }
    blockHasText_ = true;
}

void Parser::appendChar(QChar c) {
    flushBytes();
    pending_ += c;
    blockHasText_ = true;
}

QTextCharFormat Parser::charFormat() const {
    const State& s = stack_.back();
    QTextCharFormat f;
    const auto it = fonts_.constFind(s.font);
    if (it != fonts_.constEnd() && !it->name.isEmpty()) f.setFontFamilies(QStringList{it->name});
    f.setFontPointSize(s.halfPoints / 2.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.foreground > 0 && s.foreground < int(colors_.size()) && colors_[s.foreground].isValid())
        f.setForeground(colors_[s.foreground]);
    if (s.background > 0 && s.background < int(colors_.size()) && colors_[s.background].isValid())
        f.setBackground(colors_[s.background]);
    return f;
}

void Parser::flushText() {
    flushBytes();
    if (pending_.isEmpty()) return;
    // A line separator stays inside the paragraph: insertText() breaks blocks only at
    // paragraph separators.
    cursor_.insertText(pending_, charFormat());
    pending_.clear();
}

void Parser::applyBlockFormat() {
    const State& s = stack_.back();
    QTextBlockFormat f;
    f.setAlignment(s.alignment);
    f.setLeftMargin(TwipsToDocument(s.leftIndent));
    f.setRightMargin(TwipsToDocument(s.rightIndent));
    f.setTextIndent(TwipsToDocument(s.firstIndent));
    f.setTopMargin(TwipsToDocument(s.spaceBefore));
    f.setBottomMargin(TwipsToDocument(s.spaceAfter));
    if (s.lineSpacing != 0) {
        if (s.lineMultiple && s.lineSpacing > 0) {
            f.setLineHeight(s.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        } else if (s.lineSpacing > 0) {
            f.setLineHeight(TwipsToDocument(s.lineSpacing), QTextBlockFormat::MinimumHeight);
        } else {
            f.setLineHeight(TwipsToDocument(-s.lineSpacing), QTextBlockFormat::FixedHeight);
        }
    }
    if (!s.tabs.isEmpty()) f.setTabPositions(s.tabs);
    if (blockPageBreak_) f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor_.setBlockFormat(f);
    // An empty paragraph keeps the height of the characters in force.
    if (!blockHasText_) cursor_.setBlockCharFormat(charFormat());
}

void Parser::endParagraph() {
    flushText();
    applyBlockFormat();
    cursor_.insertBlock();
    blockHasText_ = false;
    blockPageBreak_ = false;
}

void Parser::pageBreak() {
    // The text after the break starts a new page: a paragraph of its own that breaks
    // the page before it.
    flushText();
    if (blockHasText_) endParagraph();
    blockPageBreak_ = true;
}

bool looksLikeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace

bool RtfReader::Read(const QByteArray& rtf, QTextDocument* document) {
    qsizetype start = 0;
    if (rtf.startsWith("\xEF\xBB\xBF")) start = 3;
    while (start < rtf.size() && std::isspace(static_cast<unsigned char>(rtf.at(start)))) ++start;
    if (start >= rtf.size()) {
        document->clear();
        LetterPage().applyTo(document);
        return true;
    }
    if (rtf.mid(start, 5) != "{\\rtf") {
        document->clear();
        QString text = looksLikeUtf8(rtf) ? QString::fromUtf8(rtf) : CodePageText::decode(1252, rtf);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.remove(QChar(0));
        document->setPlainText(text);
        LetterPage().applyTo(document);
        return false;
    }
    const QByteArray body = start == 0 ? rtf : rtf.mid(start);
    Parser parser(body, document);
    parser.run();
    return true;
}
