#pragma once

#include "AsciiSample.h"
#include "TMatchFields.h"

// "ASCII File Import Match Fields": the first lines of the file under "Sample ASCII
// Fields", one column per field, headed by the names of the first line when it holds
// column names (`header`; the line itself is then not shown) or else "Field 1",
// "Field 2", ...; each as wide as its widest value in "W" characters, at least as wide
// as "Field 12" and at most two inches; below it the match grid (see TMatchFields).
class TAsciiMatch : public TMatchFields {
    Q_OBJECT

  public:
    TAsciiMatch(const AsciiSample& sample, bool header, const FieldMatch& match, QWidget* parent = nullptr);
};
