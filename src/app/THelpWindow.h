#pragma once

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

// The help window: the program's help pages with Contents, Back and a word search over
// all pages.
class THelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit THelpWindow(QWidget* parent = nullptr);

    void showUrl(const QUrl& url);
    void startSearch();
    QTextBrowser* browser() const { return browser_; }

  private:
    void search(const QString& word);

    QTextBrowser* browser_;
    QLineEdit* searchEdit_;
    QListWidget* results_;
};
