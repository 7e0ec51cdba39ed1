#include "THelpWindow.h"

#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "HelpSystem.h"

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("THelpWindow");
    setWindowTitle("Quillory Help");
    resize(720, 560);

    auto* contents = new QPushButton("&Contents");
    auto* back = new QPushButton("&Back");
    searchEdit_ = new QLineEdit;
    searchEdit_->setPlaceholderText("Search for a word");
    searchEdit_->setClearButtonEnabled(true);
    auto* find = new QPushButton("&Search");

    auto* top = new QHBoxLayout;
    top->addWidget(contents);
    top->addWidget(back);
    top->addSpacing(16);
    top->addWidget(new QLabel("Search for Help On:"));
    top->addWidget(searchEdit_, 1);
    top->addWidget(find);

    browser_ = new QTextBrowser;
    browser_->setOpenLinks(true);
    browser_->setSearchPaths({":/help"});
    results_ = new QListWidget;
    results_->hide();

    auto* split = new QSplitter;
    split->addWidget(results_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(contents, &QPushButton::clicked, this,
            [this] { showUrl(HelpSystem::topicUrl(HelpTopic::Contents)); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle("Quillory Help - " + browser_->documentTitle()); });
    connect(find, &QPushButton::clicked, this, [this] { search(searchEdit_->text()); });
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] { search(searchEdit_->text()); });
    connect(results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showUrl(item->data(Qt::UserRole).toUrl()); });
    connect(results_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showUrl(item->data(Qt::UserRole).toUrl()); });
    back->setEnabled(false);
}

void THelpWindow::showUrl(const QUrl& url) { browser_->setSource(url); }

void THelpWindow::startSearch() {
    searchEdit_->setFocus();
    searchEdit_->selectAll();
}

void THelpWindow::search(const QString& word) {
    results_->clear();
    const QString w = word.trimmed();
    if (w.isEmpty()) {
        results_->hide();
        return;
    }
    QDirIterator it(":/help", {"*.html"});
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(file.readAll()));
        if (!doc.toPlainText().contains(w, Qt::CaseInsensitive)) continue;
        auto* item = new QListWidgetItem(doc.metaInformation(QTextDocument::DocumentTitle));
        item->setData(Qt::UserRole, QUrl("qrc" + path));
        results_->addItem(item);
    }
    results_->sortItems();
    if (results_->count() == 0) results_->addItem("No page contains \"" + w + "\"");
    results_->show();
}
