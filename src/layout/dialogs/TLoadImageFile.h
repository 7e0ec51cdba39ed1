#pragma once

#include <QDialog>
#include <QString>

#include "LayoutPicture.h"

class ImagePreview;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeView;

// "Load Image File (BMP/WMF)": a place to start from (home, the file system, mounted
// volumes), a folder tree, the folder's .bmp and .wmf files in any letter case, a
// preview of the file selected, and the boxes "Stretch" and "AutoSize", which exclude
// each other. Ok with a file that cannot be read says "Error loading file!" and keeps
// the dialog open; the object changes only when a file was read.
class TLoadImageFile : public QDialog {
    Q_OBJECT

  public:
    TLoadImageFile(bool stretch, bool autoSize, QWidget* parent = nullptr);

    // Shows `folder` in the tree and its picture files in the list.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // The file selected in the list (full path); empty when none.
    QString fileName() const;
    bool stretch() const;
    bool autoSize() const;
    // The picture read on Ok; empty when Ok was pressed without a file.
    const LayoutPicture& picture() const { return picture_; }

    QComboBox* Places;
    QTreeView* FolderTree;
    QLabel* FolderName;
    QListWidget* FileList;
    ImagePreview* Preview;
    QCheckBox *StretchBox, *AutoSizeBox;
    QPushButton *OkButton, *CancelButton;

  private:
    void OkButtonClick();
    void FileListChange();
    void StretchBoxClick(bool on);
    void AutoSizeBoxClick(bool on);
    void fillPlaces();
    void showFolderInTree();

    QFileSystemModel* folders_;
    QString folder_;
    LayoutPicture picture_;
};
