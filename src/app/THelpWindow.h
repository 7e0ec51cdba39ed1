#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QPushButton;
class QTabWidget;

// Shows the pages of the manual: relative links, pictures and the style sheet come
// out of the help engine; links that leave the manual go to the desktop's browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

  public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    QHelpEngine* engine_;
};

// The help window: the manual's contents tree, its keyword index and a full-text
// search on the left, the page on the right, Back, Forward and Contents above. It
// keeps its place in the settings file; the first time it opens beside the window
// that asked for it.
class THelpWindow : public QWidget {
    Q_OBJECT

  public:
    THelpWindow(QHelpEngine* engine, const QString& settingsFile, QWidget* parent = nullptr);

    // Puts the window where it was last time, else beside `from`.
    void place(QWidget* from);
    void showUrl(const QUrl& url);
    // Shows the Search tab with its field ready.
    void startSearch();
    HelpBrowser* browser() const { return browser_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void search(const QString& words);

    QHelpEngine* engine_;
    QString settingsFile_;
    HelpBrowser* browser_;
    QTabWidget* tabs_;
    QLineEdit* searchEdit_;
    QLineEdit* indexEdit_;
    QPushButton* backButton_;
    QPushButton* forwardButton_;
};
