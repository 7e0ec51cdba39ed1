#include "TGPageNumberLabel.h"

#include "TBaseReport.h"

void TGPageNumberLabel::ComposeCaption(TBaseReport* report) {
    SetCaption(report ? QString::number(report->currentPage()) : QString("##"));
}
