#include "AsciiFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "AsciiLine.h"

namespace {

constexpr size_t kBufferSize = 1 << 20;
// The bytes kept of a line: enough for kMaxLength characters of four bytes each, so
// that a line cut here is longer than the limit in any encoding the import takes.
constexpr size_t kMaxLineBytes = 4 * size_t(AsciiLine::kMaxLength) + 4;

size_t utf8Characters(std::string_view text) {
    size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

// The first `count` characters of UTF-8 text.
void keepCharacters(std::string* text, size_t count) {
    size_t n = 0;
    for (size_t i = 0; i < text->size(); ++i) {
        if ((static_cast<unsigned char>((*text)[i]) & 0xC0) != 0x80 && n++ == count) {
            text->resize(i);
            return;
        }
    }
}

// Drops a UTF-8 sequence that a cut left unfinished at the end.
void dropUnfinishedSequence(std::string* text) {
    size_t i = text->size();
    while (i > 0 && (static_cast<unsigned char>((*text)[i - 1]) & 0xC0) == 0x80) --i;
    if (i == 0) return;
    const unsigned char lead = static_cast<unsigned char>((*text)[i - 1]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (text->size() - (i - 1) < length) text->resize(i - 1);
}

}  // namespace

AsciiFile::AsciiFile() = default;

AsciiFile::~AsciiFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool AsciiFile::open(const QString& path, const SourceEncoding& encoding, QString* message) {
    path_ = path;
    encoding_ = encoding;
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        *message =
            QStringLiteral("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    buf_.resize(kBufferSize);
    return true;
}

bool AsciiFile::fill() {
    if (eof_) return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buf_.data(), buf_.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error_ =
                QStringLiteral("Cannot read %1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
            eof_ = true;
            return false;
        }
        pos_ = 0;
        end_ = size_t(n);
        if (n == 0) eof_ = true;
        return n > 0;
    }
}

bool AsciiFile::readRaw(std::string* raw, size_t cap, bool* cut) {
    raw->clear();
    *cut = false;
    bool any = false;
    ending_ = "";
    for (;;) {
        if (pos_ == end_ && !fill()) {
            if (pendingCr_) {
                pendingCr_ = false;
                return true;
            }
            if (!error_.isEmpty()) return false;
            if (any) ++line_;
            return any;
        }
        if (pendingCr_) {
            // The line ended with CR at the end of the buffer: a LF now belongs to it.
            pendingCr_ = false;
            if (buf_[pos_] == '\n') {
                ++pos_;
                ending_ = "\r\n";
            }
            return true;
        }
        const char* start = buf_.data() + pos_;
        const size_t avail = end_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', lf ? size_t(lf - start) : avail));
        const char* stop = cr ? cr : lf;
        const size_t take = stop ? size_t(stop - start) : avail;
        const size_t room = cap > raw->size() ? cap - raw->size() : 0;
        if (take > room) *cut = true;
        raw->append(start, take < room ? take : room);
        any = true;
        if (stop) {
            pos_ += take + 1;
            ++line_;
            if (*stop == '\n') {
                ending_ = "\n";
                return true;
            }
            ending_ = "\r";
            if (pos_ < end_) {
                if (buf_[pos_] == '\n') {
                    ++pos_;
                    ending_ = "\r\n";
                }
                return true;
            }
            // Whether a LF follows is known only once the next piece is read.
            pendingCr_ = true;
            continue;
        }
        pos_ = end_;
    }
}

AsciiFile::Result AsciiFile::next(std::string* text, Problem* problem) {
    *problem = Problem::None;
    text->clear();
    bool cut = false;
    if (!readRaw(&raw_, kMaxLineBytes, &cut)) return error_.isEmpty() ? Result::End : Result::Failed;
    std::string_view bytes = raw_;
    if (line_ == 1 && encoding_.kind() == SourceEncoding::Kind::Utf8 &&
        bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    if (std::memchr(bytes.data(), '\0', bytes.size())) {
        *problem = Problem::Nul;
        return Result::Line;
    }
    if (cut) {
        // Best effort for a sample: the characters before the cut.
        std::string head(bytes);
        if (encoding_.kind() == SourceEncoding::Kind::Utf8) dropUnfinishedSequence(&head);
        if (!encoding_.toUtf8(head, text)) text->clear();
        keepCharacters(text, AsciiLine::kMaxLength);
        *problem = Problem::TooLong;
        return Result::Line;
    }
    if (!encoding_.toUtf8(bytes, text)) {
        text->clear();
        *problem = Problem::BadEncoding;
        return Result::Line;
    }
    if (text->size() > size_t(AsciiLine::kMaxLength) &&
        utf8Characters(*text) > size_t(AsciiLine::kMaxLength)) {
        keepCharacters(text, AsciiLine::kMaxLength);
        *problem = Problem::TooLong;
    }
    return Result::Line;
}

QString AsciiFile::problemText(Problem problem, uint64_t line, const SourceEncoding& encoding) {
    switch (problem) {
        case Problem::None:
            return QString();
        case Problem::TooLong:
            return QStringLiteral("Line %1 is longer than %2 characters")
                .arg(line)
                .arg(AsciiLine::kMaxLength);
        case Problem::Nul:
            return QStringLiteral("Line %1 holds a NUL character; this is not a text file").arg(line);
        case Problem::BadEncoding:
            return QStringLiteral("Line %1 is not valid %2 text").arg(line).arg(encoding.name());
    }
    return QString();
}

bool AsciiFile::countLines(const QString& path, uint64_t* lines, QString* message) {
    AsciiFile file;
    if (!file.open(path, SourceEncoding::windows1252(), message)) return false;
    std::string raw;
    bool cut;
    while (file.readRaw(&raw, 0, &cut)) {
    }
    if (!file.error_.isEmpty()) {
        *message = file.error_;
        return false;
    }
    *lines = file.line_;
    return true;
}
