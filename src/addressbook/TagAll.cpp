#include "TagAll.h"

#include "AddressFile.h"

namespace TagAll {

QString ProgressText(uint32_t tagged) { return QString::number(tagged) + QStringLiteral(" tagged"); }

Result TagAll(xbase::Table& table, const QString& globalTagId,
              const std::function<bool(uint32_t)>& progress) {
    Result result;
    // The index pages the changes touch are written once, at the end.
    xbase::IndexBatch batch(table);
    const int tagField = table.fieldIndex("TAG");
    xbase::Status s = !batch.begun().ok() ? batch.begun()
                      : tagField < 0      ? xbase::Status::InvalidArgument("The file has no TAG field")
                                          : table.goTop();
    while (s.ok() && !table.eof()) {
        s = AddressFile::setText(table, tagField, globalTagId);
        if (s.ok()) s = table.commit();
        if (!s.ok()) break;
        ++result.tagged;
        s = table.skip(1);
        if (progress && !progress(result.tagged)) {
            result.outcome = Outcome::Cancelled;
            break;
        }
    }
    const xbase::Status written = batch.finish();
    if (s.ok()) s = written;
    if (!s.ok()) {
        result.outcome = Outcome::Failed;
        result.message = QString::fromStdString(s.message());
    }
    (void)table.goTop();
    return result;
}

}  // namespace TagAll
