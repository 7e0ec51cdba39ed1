// A vCard file: every card read (folding, quoted-printable, character sets, escapes),
// a bad one named and passed over, and each card turned into a record's fields and
// written back as vCard 3.0.

#include <QString>
#include <string>

#include "FuzzFiles.h"
#include "VCard.h"
#include "VCardRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QString::fromStdString(fuzz::WriteFile("cards.vcf", data, size));
    VCard::Reader reader;
    QString message;
    if (!reader.open(path, &message)) return 0;
    VCardContact contact;
    std::string out;
    for (;;) {
        const VCard::Reader::Result r = reader.next(&contact);
        if (r == VCard::Reader::Result::End || r == VCard::Reader::Result::Failed) break;
        if (r == VCard::Reader::Result::Bad) {
            (void)reader.problem().size();
            continue;
        }
        (void)VCardRecord::Fields(contact, {});
        out.clear();
        VCard::Write(contact, &out);
    }
    return 0;
}
