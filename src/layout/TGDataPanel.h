#pragma once

#include "TGBasePanel.h"

class TGDataSet;

// A panel bound to the open address table: its objects show and print the values of
// the current record. The data set is borrowed from the owning window.
class TGDataPanel : public TGBasePanel {
  public:
    using TGBasePanel::TGBasePanel;

    TGDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TGDataSet* dataSet) { dataSet_ = dataSet; }

    // True: objects show the record's values; false: field names in brackets.
    bool DisplayDataValues() const { return displayDataValues_; }
    void SetDisplayDataValues(bool on);

    // Every object fetches its values, when the data set is there and open.
    void RefreshData() override;

  private:
    TGDataSet* dataSet_ = nullptr;
    bool displayDataValues_ = true;
};
