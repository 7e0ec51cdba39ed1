#include "ImportCopy.h"

#include "BatchAppender.h"
#include "CodePage.h"
#include "Table.h"

RecordCopier::RecordCopier(const xbase::Table& source, const xbase::Table& target)
    : source_(source),
      from_(source.codePage()),
      to_(target.codePage()),
      samePage_(source.codePage().number() == target.codePage().number()) {}

bool RecordCopier::value(const CopiedField& field, std::string* out, QString* reason) {
    const xbase::FieldDef& f = source_.field(field.from);
    auto failed = [&](const std::string& message) {
        *reason = QStringLiteral("Record %1, field %2: %3")
                      .arg(source_.recNo())
                      .arg(QString::fromStdString(f.name), QString::fromStdString(message));
        return false;
    };
    if (field.memo) {
        const xbase::Status s = source_.getMemo(field.from, &text_);
        if (!s.ok()) return failed(s.message());
        if (field.rule == CopiedField::MemoRule::BlankAfterFours) text_ = MemoWithBlank(std::move(text_));
    } else {
        text_ = source_.getTrimString(field.from);
    }
    if (samePage_) {
        out->swap(text_);
        return true;
    }
    const xbase::Status s = to_.fromUtf8(from_.toUtf8(text_), out);
    return s.ok() || failed(s.message());
}

bool RecordCopier::copy(const std::vector<CopiedField>& fields, BatchAppender& appender, QString* reason) {
    std::string v;
    for (const CopiedField& field : fields) {
        if (!value(field, &v, reason)) return false;
        if (v.empty()) continue;
        const xbase::Status s = appender.put(field.to, v);
        if (!s.ok()) {
            *reason =
                QStringLiteral("Record %1: %2").arg(source_.recNo()).arg(QString::fromStdString(s.message()));
            return false;
        }
    }
    return true;
}

std::string MemoWithBlank(std::string text) {
    if (text.empty() || text.size() % 4 != 0) return text;
    size_t end = text.size();
    if (end >= 2 && text.compare(end - 2, 2, "\r\n") == 0) {
        end -= 2;
    } else if (text[end - 1] == '\n' || text[end - 1] == '\r') {
        end -= 1;
    }
    text.insert(end, 1, ' ');
    return text;
}
