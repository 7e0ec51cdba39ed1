#include "TGDataSet.h"

int TGDataSet::FindField(const QString& name) const {
    for (int i = 0; i < FieldCount(); ++i)
        if (FieldName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TGDataSet::FindFieldByLabel(const QString& label) const {
    for (int i = FieldCount() - 1; i >= 0; --i)
        if (DisplayLabel(i) == label) return i;
    return -1;
}
