#include "TImportDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

TImportDialog::TImportDialog(xbase::Table& table, const QString& selectText, const QString& nameCaption,
                             const QString& filter, QWidget* parent)
    : JobWindow(parent), table_(table) {
    setStartsOnShow(false);
    SelectButton = new QPushButton(QStringLiteral("&") + selectText, this);
    SelectButton->setObjectName("SelectButton");
    // "ASCII File Name" -> "ASCII File &Name": Alt+N goes to the button that chooses it.
    QString caption = nameCaption;
    caption.insert(caption.lastIndexOf(QLatin1Char(' ')) + 1, QLatin1Char('&'));
    FileNameCaption = new QLabel(caption, this);
    FileNameCaption->setBuddy(SelectButton);
    FileNameLabel = new QLabel(QStringLiteral("(none)"), this);
    FileNameLabel->setObjectName("FileNameLabel");
    FileNameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MatchButton = new QPushButton(QStringLiteral("&Match Fields"), this);
    MatchButton->setObjectName("MatchButton");
    ImportButton = new QPushButton(QStringLiteral("&Import"), this);
    ImportButton->setObjectName("ImportButton");
    for (QPushButton* b : {SelectButton, MatchButton, ImportButton}) b->setAutoDefault(false);
    CancelButton->setText(QStringLiteral("&Cancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(SelectButton, 0, 0);
    grid->addWidget(FileNameCaption, 0, 1);
    grid->addWidget(FileNameLabel, 1, 1);
    grid->setColumnStretch(1, 1);
    body()->addLayout(grid);
    buttonRow()->insertWidget(1, MatchButton);
    buttonRow()->insertWidget(2, ImportButton);
    StatusLabel->setMinimumSize(360, 30);
    choices_ << SelectButton << FileNameCaption << FileNameLabel << MatchButton << ImportButton;

    // A DBF is looked for with "*.dbf" in the name box, a text file with nothing there.
    const QString start = filter.startsWith(QLatin1String("DBF")) ? QStringLiteral("*.dbf") : QString();
    fileChooser = [this, selectText, filter, start] {
        return QFileDialog::getOpenFileName(this, selectText, start, filter);
    };
    connect(SelectButton, &QPushButton::clicked, this, &TImportDialog::SelectButtonClick);
    connect(MatchButton, &QPushButton::clicked, this, &TImportDialog::MatchButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TImportDialog::ImportButtonClick);
    setMinimumWidth(460);
}

void TImportDialog::addChoice(QWidget* widget) { choices_ << widget; }

void TImportDialog::updateButtons() {
    MatchButton->setEnabled(!path_.isEmpty());
    ImportButton->setEnabled(!path_.isEmpty() && canImport());
}

void TImportDialog::SelectButtonClick() {
    const QString path = fileChooser ? fileChooser() : QString();
    if (path.isEmpty()) return;
    path_ = path;
    if (!useFile(path)) path_.clear();
    FileNameLabel->setText(path_.isEmpty() ? QStringLiteral("(none)") : QDir::toNativeSeparators(path_));
    updateButtons();
}

void TImportDialog::MatchButtonClick() {
    if (path_.isEmpty()) return;
    matchFields();
    updateButtons();
}

void TImportDialog::ImportButtonClick() {
    if (path_.isEmpty() || !canImport() || started()) return;
    for (QWidget* w : choices_) w->hide();
    setGaugeShown(true);
    setJob([this](JobProgress& progress) {
        ImportHooks hooks;
        hooks.reported = [](const ImportReport& r) {
            for (const QString& m : r.messages) WindowMessages().inform(m);
        };
        hooks.rebuilding = [this] { CancelButton->hide(); };
        report_ = runImport(progress, hooks);
        return report_.result;
    });
    start();
}

void TImportDialog::jobEnded(JobResult result) {
    if (!report_.rebuildError.isEmpty()) WindowMessages().inform(report_.rebuildError);
    closeLater(result == JobResult::Done);
}
