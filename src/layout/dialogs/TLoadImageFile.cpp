#include "TLoadImageFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "ImagePreview.h"
#include "ObjectEdits.h"
#include "WindowMessages.h"

namespace {

const char kErrorLoading[] = "Error loading file!";

// The folder the dialog showed last in this run; the next one starts there.
QString& lastFolder() {
    static QString folder;
    return folder;
}

}  // namespace

TLoadImageFile::TLoadImageFile(bool stretch, bool autoSize, QWidget* parent) : QDialog(parent) {
    setObjectName("TLoadImageFile");
    setWindowTitle("Load Image File (BMP/WMF)");

    Places = new QComboBox;
    Places->setObjectName("Places");
    Places->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Places->setMinimumContentsLength(12);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());
    FolderTree = new QTreeView;
    FolderTree->setObjectName("FolderTree");
    FolderTree->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c) FolderTree->hideColumn(c);
    FolderTree->header()->hide();
    FolderTree->setRootIndex(folders_->index(QDir::rootPath()));
    FileList = new QListWidget;
    FileList->setObjectName("FileList");
    Preview = new ImagePreview;
    Preview->setObjectName("Preview");
    Preview->setMinimumSize(180, 180);
    StretchBox = new QCheckBox("&Stretch");
    StretchBox->setObjectName("StretchBox");
    AutoSizeBox = new QCheckBox("&AutoSize");
    AutoSizeBox->setObjectName("AutoSizeBox");
    // AutoSize wins, as the object itself lets only one of the two be set.
    StretchBox->setChecked(stretch && !autoSize);
    AutoSizeBox->setChecked(autoSize);
    Preview->setNaturalSize(autoSize);

    auto* placesLabel = new QLabel("&Look in");
    placesLabel->setBuddy(Places);
    auto* foldersLabel = new QLabel("F&olders");
    foldersLabel->setBuddy(FolderTree);
    FolderName = new QLabel;
    FolderName->setObjectName("FolderName");
    FolderName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* filesLabel = new QLabel("&Files (*.BMP;*.WMF)");
    filesLabel->setBuddy(FileList);

    connect(Places, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { setFolder(Places->itemData(index).toString()); });
    connect(FolderTree, &QTreeView::activated, this,
            [this](const QModelIndex& index) { setFolder(folders_->filePath(index)); });
    connect(FolderTree, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { setFolder(folders_->filePath(index)); });
    // The model reads folders in the background: the tree shows the current folder once
    // the folders above it have been read.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_ == loaded || folder_.startsWith(loaded.endsWith('/') ? loaded : loaded + '/'))
            showFolderInTree();
    });
    connect(FileList, &QListWidget::currentRowChanged, this, &TLoadImageFile::FileListChange);
    connect(FileList, &QListWidget::itemActivated, this, &TLoadImageFile::OkButtonClick);
    connect(StretchBox, &QCheckBox::toggled, this, &TLoadImageFile::StretchBoxClick);
    connect(AutoSizeBox, &QCheckBox::toggled, this, &TLoadImageFile::AutoSizeBoxClick);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, nullptr);
    buttons.HelpButton->hide();
    buttons.setMnemonics("O&k");
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;

    auto* grid = new QGridLayout;
    grid->addWidget(placesLabel, 0, 0);
    grid->addWidget(Places, 1, 0);
    grid->addWidget(FolderName, 1, 1, 1, 2);
    grid->addWidget(foldersLabel, 2, 0);
    grid->addWidget(FolderTree, 3, 0);
    grid->addWidget(filesLabel, 2, 1);
    grid->addWidget(FileList, 3, 1);
    auto* previewLabel = new QLabel("Preview");
    grid->addWidget(previewLabel, 2, 2);
    grid->addWidget(Preview, 3, 2);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(StretchBox);
    boxes->addWidget(AutoSizeBox);
    boxes->addStretch(1);
    grid->addLayout(boxes, 4, 2);
    // The three columns share the width evenly whatever the folder names are.
    for (QWidget* w : {static_cast<QWidget*>(FolderTree), static_cast<QWidget*>(FileList),
                       static_cast<QWidget*>(Preview)}) {
        w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        w->setMinimumWidth(180);
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setRowStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons.layout);

    fillPlaces();
    const QString start =
        lastFolder().isEmpty() || !QDir(lastFolder()).exists() ? QDir::currentPath() : lastFolder();
    setFolder(start);
    resize(760, 440);
}

// In place of drive letters: the home folder, the whole file system and each volume
// mounted elsewhere (removable media, network shares).
void TLoadImageFile::fillPlaces() {
    Places->addItem("Home", QDir::homePath());
    Places->addItem("File System", QDir::rootPath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || root == QDir::rootPath()) continue;
        if (!(root.startsWith("/media/") || root.startsWith("/mnt/") || root.startsWith("/run/media/")))
            continue;
        const QString name = volume.displayName();
        Places->addItem(name.isEmpty() ? root : name + " (" + root + ")", root);
    }
}

void TLoadImageFile::setFolder(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) return;
    folder_ = dir.absolutePath();
    lastFolder() = folder_;
    FolderName->setText(QDir::toNativeSeparators(folder_));
    showFolderInTree();
    // The place that holds the folder, the longest match first.
    int place = -1, matched = -1;
    for (int i = 0; i < Places->count(); ++i) {
        const QString root = Places->itemData(i).toString();
        const bool holds = folder_ == root || folder_.startsWith(root.endsWith('/') ? root : root + '/');
        if (holds && root.size() > matched) {
            place = i;
            matched = int(root.size());
        }
    }
    if (place >= 0) Places->setCurrentIndex(place);

    const QSignalBlocker block(FileList);
    FileList->clear();
    const QStringList files = dir.entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& f : files)
        if (layout::IsImageFileName(f)) FileList->addItem(f);
    Preview->clear();
}

void TLoadImageFile::showFolderInTree() {
    const QModelIndex index = folders_->index(folder_);
    if (!index.isValid()) return;
    FolderTree->setCurrentIndex(index);
    FolderTree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString TLoadImageFile::fileName() const {
    const QListWidgetItem* item = FileList->currentItem();
    return item ? QDir(folder_).filePath(item->text()) : QString();
}

bool TLoadImageFile::stretch() const { return StretchBox->isChecked(); }
bool TLoadImageFile::autoSize() const { return AutoSizeBox->isChecked(); }

void TLoadImageFile::FileListChange() {
    const QString file = fileName();
    if (file.isEmpty()) {
        Preview->clear();
        return;
    }
    LayoutPicture picture;
    if (!LayoutPicture::LoadFromFile(file, &picture)) {
        Preview->clear();
        WindowMessages().error(kErrorLoading);
        return;
    }
    Preview->setPicture(picture);
}

void TLoadImageFile::StretchBoxClick(bool on) {
    if (on) AutoSizeBox->setChecked(false);
}

void TLoadImageFile::AutoSizeBoxClick(bool on) {
    if (on) StretchBox->setChecked(false);
    Preview->setNaturalSize(on);
}

// A file that cannot be read is reported and the dialog stays, so that the user can
// choose another; the object keeps the picture it had.
void TLoadImageFile::OkButtonClick() {
    picture_.clear();
    const QString file = fileName();
    if (!file.isEmpty() && !LayoutPicture::LoadFromFile(file, &picture_)) {
        picture_.clear();
        Preview->clear();
        WindowMessages().error(kErrorLoading);
        return;
    }
    accept();
}
