#pragma once

#include <QString>

// The application home: the folder that holds QUILLO.ini, DATA/, sysdata/ and the
// other files the program keeps. It is the folder given by --home, else
// $QUILLORY_HOME, else ~/.local/share/quillory.
class AppHome {
  public:
    // `explicitHome` is the --home argument, empty when none was given.
    static QString resolve(const QString& explicitHome);

    explicit AppHome(QString root) : root_(std::move(root)) {}

    const QString& root() const { return root_; }
    QString dataDir() const { return root_ + "/DATA"; }
    QString sysDataDir() const { return root_ + "/sysdata"; }
    QString file(const QString& name) const { return root_ + "/" + name; }
    // The path of `relative` under the home; when no file has that exact name but one
    // differs from it only in letter case, that one (the files may come from a system
    // that ignores case).
    QString existingFile(const QString& relative) const;

    // Creates a missing home with its DATA and sysdata folders (0700: for their owner
    // only) and makes the home the private folder, whose new files are 0600 (see
    // xbase::setPrivateFolder). In a new home (one without sysdata) it builds the
    // shipped label stock and state/ZIP tables. An existing home whose shipped tables
    // were removed is left so. False with `error` set when that fails.
    bool ensureExists(QString* error) const;

  private:
    QString root_;
};
