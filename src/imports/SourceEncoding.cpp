#include "SourceEncoding.h"

#include <iconv.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

#include "CodePage.h"

namespace {

// Upper case without blanks, dashes and underscores: "Windows-1252" -> "WINDOWS1252".
QString squeezed(const QString& name) {
    QString s;
    for (QChar c : name) {
        if (c != '-' && c != '_' && !c.isSpace()) s += c.toUpper();
    }
    return s;
}

}  // namespace

// An iconv converter from the named encoding to UTF-8. A converter keeps state
// between calls, so each conversion starts by resetting it; one import uses it from
// one thread.
class SourceEncoding::Converter {
  public:
    explicit Converter(iconv_t cd) : cd_(cd) {}
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool convert(std::string_view bytes, std::string* out) {
        out->clear();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        char buf[4096];
        while (inLeft > 0) {
            char* outPtr = buf;
            size_t outLeft = sizeof buf;
            const size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out->append(buf, sizeof buf - outLeft);
            if (r == size_t(-1) && errno != E2BIG) return false;
        }
        char* outPtr = buf;
        size_t outLeft = sizeof buf;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) return false;
        out->append(buf, sizeof buf - outLeft);
        return true;
    }

  private:
    iconv_t cd_;
};

SourceEncoding::SourceEncoding() : kind_(Kind::Utf8), name_(QStringLiteral("UTF-8")) {}

SourceEncoding SourceEncoding::utf8() { return SourceEncoding(); }

SourceEncoding SourceEncoding::windows1252() {
    SourceEncoding e;
    e.kind_ = Kind::Windows1252;
    e.name_ = QStringLiteral("Windows-1252");
    return e;
}

bool SourceEncoding::byName(const QString& name, SourceEncoding* out, QString* message) {
    const QString key = squeezed(name);
    if (key == "UTF8") {
        *out = utf8();
        return true;
    }
    if (key == "WINDOWS1252" || key == "CP1252" || key == "1252" || key == "ANSI") {
        *out = windows1252();
        return true;
    }
    iconv_t cd = iconv_open("UTF-8", name.toLatin1().constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        *message = QStringLiteral("Unknown encoding %1").arg(name);
        return false;
    }
    auto converter = std::make_shared<Converter>(cd);
    // Line ends, commas, quotes and plain letters must come through as they are.
    static const std::string ascii = "\r\n\",; AZaz09.";
    std::string back;
    if (!converter->convert(ascii, &back) || back != ascii) {
        *message = QStringLiteral("The encoding %1 cannot be imported: it does not keep ASCII text as it is")
                       .arg(name);
        return false;
    }
    out->kind_ = Kind::Other;
    out->name_ = name;
    out->converter_ = std::move(converter);
    return true;
}

bool SourceEncoding::detect(const QString& path, SourceEncoding* out, QString* message) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    std::vector<char> buf(1 << 20);
    Utf8Check check;
    bool first = true;
    for (;;) {
        const qint64 n = file.read(buf.data(), qint64(buf.size()));
        if (n < 0) {
            *message = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        if (n == 0) break;
        std::string_view chunk(buf.data(), size_t(n));
        if (first && chunk.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
            *out = utf8();
            return true;
        }
        first = false;
        if (!check.feed(chunk)) {
            *out = windows1252();
            return true;
        }
    }
    *out = check.complete() ? utf8() : windows1252();
    return true;
}

bool SourceEncoding::toUtf8(std::string_view bytes, std::string* out) const {
    if (IsAscii(bytes)) {
        out->assign(bytes);
        return true;
    }
    switch (kind_) {
        case Kind::Utf8: {
            Utf8Check check;
            if (!check.feed(bytes) || !check.complete()) return false;
            out->assign(bytes);
            return true;
        }
        case Kind::Windows1252:
            *out = xbase::CodePage::windows1252().toUtf8(bytes);
            return true;
        case Kind::Other:
            return converter_->convert(bytes, out);
    }
    return false;
}

bool Utf8Check::feed(std::string_view bytes) {
    if (!ok_) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        if (need_ == 0) {
            // Runs of ASCII go eight bytes at a time.
            while (i + 8 <= n) {
                uint64_t word;
                std::memcpy(&word, p + i, 8);
                if (word & 0x8080808080808080ULL) break;
                i += 8;
            }
            if (i >= n) break;
            const unsigned char b = p[i++];
            if (b < 0x80) continue;
            low_ = 0x80;
            high_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                need_ = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need_ = 2;
                if (b == 0xE0) low_ = 0xA0;   // no overlong forms
                if (b == 0xED) high_ = 0x9F;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                need_ = 3;
                if (b == 0xF0) low_ = 0x90;
                if (b == 0xF4) high_ = 0x8F;  // nothing past U+10FFFF
            } else {
                return ok_ = false;
            }
        } else {
            const unsigned char b = p[i++];
            if (b < low_ || b > high_) return ok_ = false;
            low_ = 0x80;
            high_ = 0xBF;
            --need_;
        }
    }
    return true;
}

bool IsAscii(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < bytes.size(); ++i) {
        if (p[i] & 0x80) return false;
    }
    return true;
}
