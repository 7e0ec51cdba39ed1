#include "TCopyOut.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

namespace {

// The folder the save dialog opened last, for as long as the program runs.
QString& lastFolder() {
    static QString folder;
    return folder;
}

}  // namespace

TCopyOut::TCopyOut(xbase::Table& table, const QString& addressPath, const QString& startFolder,
                   QWidget* parent)
    : JobWindow(parent), table_(table), addressPath_(addressPath) {
    setObjectName("TCopyOut");
    setWindowTitle(QStringLiteral("Copy Records Out"));
    setStartsOnShow(false);
    setCancelQuestion(CopyOut::kCancelQuestion, CopyOut::kCancelCaption, Messages::Preset::No);
    if (lastFolder().isEmpty()) lastFolder() = startFolder;

    KindBox = new QGroupBox(this);
    auto* kinds = new QVBoxLayout(KindBox);
    auto radio = [&](CopyOut::Kind kind, const char* name) {
        auto* r = new QRadioButton(CopyOut::Texts(kind).choice, KindBox);
        r->setObjectName(name);
        kinds->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this] { path_.clear(); });
        return r;
    };
    DbfRadio = radio(CopyOut::Kind::Dbf, "DbfRadio");
    TextRadio = radio(CopyOut::Kind::Text, "TextRadio");
    CsvRadio = radio(CopyOut::Kind::Csv, "CsvRadio");
    VCardRadio = radio(CopyOut::Kind::VCard, "VCardRadio");
    DbfRadio->setChecked(true);
    body()->addWidget(KindBox);
    SaveAsButton = new QPushButton(QStringLiteral("Save As"), this);
    SaveAsButton->setObjectName("SaveAsButton");
    SaveAsButton->setDefault(true);
    buttonRow()->insertWidget(1, SaveAsButton);
    StatusLabel->setMinimumSize(320, 24);

    fileChooser = [this](const QString& filter, const QString& extension, const QString& start) {
        QFileDialog dialog(this, QStringLiteral("Save As"), start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(extension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the window asks, in its own words
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    connect(SaveAsButton, &QPushButton::clicked, this, &TCopyOut::SaveAsButtonClick);
}

CopyOut::Kind TCopyOut::kind() const {
    if (TextRadio->isChecked()) return CopyOut::Kind::Text;
    if (CsvRadio->isChecked()) return CopyOut::Kind::Csv;
    if (VCardRadio->isChecked()) return CopyOut::Kind::VCard;
    return CopyOut::Kind::Dbf;
}

void TCopyOut::SaveAsButtonClick() {
    if (started()) return;
    const CopyOut::KindTexts& texts = CopyOut::Texts(kind());
    const QString chosen =
        fileChooser ? fileChooser(texts.filter, texts.extension, lastFolder() + "/*." + texts.extension)
                    : QString();
    if (chosen.isEmpty()) return;
    lastFolder() = QFileInfo(chosen).absolutePath();
    QString message;
    switch (CopyOut::CheckTarget(chosen, kind(), addressPath_, &message)) {
        case CopyOut::Check::Refused:
            WindowMessages().inform(message);
            return;
        case CopyOut::Check::AskOverwrite:
            if (!WindowMessages().ask(message, CopyOut::kOverwriteCaption, Messages::Preset::No)) return;
            break;
        case CopyOut::Check::Ok:
            break;
    }
    path_ = chosen;
    KindBox->hide();
    SaveAsButton->hide();
    setGaugeShown(true);
    const CopyOut::Kind k = kind();
    setJob([this, k](JobProgress& progress) {
        return CopyOut::Run(table_, k, path_, progress, &copied_, &error_);
    });
    start();
}

void TCopyOut::jobEnded(JobResult result) {
    if (result == JobResult::Failed) WindowMessages().inform(error_);
    closeLater(result == JobResult::Done);
}
