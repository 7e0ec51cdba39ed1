#pragma once

#include "TMatchFields.h"

namespace xbase {
class Table;
}

// "DBF File Import Match Fields": the source table's records in a grid (read as they
// are shown, so a table of any size opens at once), and the match grid with the DBF
// import's type rules (see TMatchFields). The table must outlive the window.
class TDBFMatch : public TMatchFields {
    Q_OBJECT

  public:
    TDBFMatch(xbase::Table& source, const FieldMatch& match, const QString& fileName,
              QWidget* parent = nullptr);
};
