// A text file given for the ASCII import: its encoding told from its bytes, its lines
// read in pieces, each line split into fields by the import's quoting rules. The first
// byte picks the encoding: detected, or one named as `--encoding` would name it.

#include <QString>

#include "AsciiFile.h"
#include "AsciiLine.h"
#include "FuzzFiles.h"
#include "SourceEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QString path = QString::fromStdString(fuzz::WriteFile("import.txt", data + 1, size - 1));
    SourceEncoding encoding;
    QString message;
    static const char* const kNames[] = {"UTF-8", "windows-1252", "cp850", "ISO-8859-15"};
    const bool known = data[0] < 4 ? SourceEncoding::detect(path, &encoding, &message)
                                   : SourceEncoding::byName(QString::fromLatin1(kNames[data[0] % 4]), &encoding, &message);
    if (!known) return 0;
    AsciiFile file;
    if (!file.open(path, encoding, &message)) return 0;
    std::string line;
    AsciiFile::Problem problem;
    while (file.next(&line, &problem) == AsciiFile::Result::Line) {
        if (problem != AsciiFile::Problem::None) {
            (void)AsciiFile::problemText(problem, file.lineNumber(), encoding);
            continue;
        }
        for (const std::string& field : AsciiLine::Split(line)) (void)field.size();
    }
    return 0;
}
