#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "CodePage.h"
#include "Status.h"

// Text between a table's bytes and Qt: tables store text in their code page (see
// xbase::CodePage), the program works in QString. The one place where the store and
// the parts above it convert.
namespace TableText {

// Bytes in code page `page` as Unicode.
QString decode(const xbase::CodePage& page, std::string_view bytes);

// Unicode as bytes of code page `page`. A character the code page cannot hold gives
// InvalidArgument naming it and the code page ("The character "Ł" cannot be stored in
// code page 1252"); *out is then unspecified. Nothing is ever replaced by "?".
xbase::Status encode(const xbase::CodePage& page, const QString& text, std::string* out);

}  // namespace TableText
