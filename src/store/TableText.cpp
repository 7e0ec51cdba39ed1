#include "TableText.h"

namespace TableText {

QString decode(const xbase::CodePage& page, std::string_view bytes) {
    return QString::fromStdString(page.toUtf8(bytes));
}

xbase::Status encode(const xbase::CodePage& page, const QString& text, std::string* out) {
    return page.fromUtf8(text.toStdString(), out);
}

}  // namespace TableText
