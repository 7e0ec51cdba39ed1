#include "THelpWindow.h"

#include <QCloseEvent>
#include <algorithm>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "HelpLink.h"
#include "HelpSystem.h"
#include "PlacedWindow.h"
#include "Settings.h"

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
    setObjectName("HelpBrowser");
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl url = source().resolved(link);
        if (url.scheme() == QLatin1String("qthelp")) {
            setSource(url);
        } else {
            QDesktopServices::openUrl(url);
        }
    });
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() == QLatin1String("qthelp")) {
        const QByteArray data = engine_->fileData(url);
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(data);
        return data;
    }
    return QTextBrowser::loadResource(type, name);
}

THelpWindow::THelpWindow(QHelpEngine* engine, const QString& settingsFile, QWidget* parent)
    : QWidget(parent, Qt::Window), engine_(engine), settingsFile_(settingsFile) {
    setObjectName("THelpWindow");
    setWindowTitle("Quillory Help");

    backButton_ = new QPushButton("&Back");
    backButton_->setObjectName("BackButton");
    forwardButton_ = new QPushButton("&Forward");
    forwardButton_->setObjectName("ForwardButton");
    auto* contents = new QPushButton("&Contents");
    contents->setObjectName("ContentsButton");
    searchEdit_ = new QLineEdit;
    searchEdit_->setObjectName("SearchEdit");
    searchEdit_->setPlaceholderText("Words to look for");
    searchEdit_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel("&Search:");
    searchLabel->setBuddy(searchEdit_);

    auto* top = new QHBoxLayout;
    top->addWidget(backButton_);
    top->addWidget(forwardButton_);
    top->addWidget(contents);
    top->addSpacing(16);
    top->addWidget(searchLabel);
    top->addWidget(searchEdit_, 1);

    browser_ = new HelpBrowser(engine_);

    // The contents tree.
    QHelpContentWidget* tree = engine_->contentWidget();
    tree->setObjectName("ContentsTree");

    // The keyword index, narrowed as one types.
    auto* indexPage = new QWidget;
    indexEdit_ = new QLineEdit;
    indexEdit_->setObjectName("IndexEdit");
    indexEdit_->setClearButtonEnabled(true);
    auto* indexLabel = new QLabel("&Look for:");
    indexLabel->setBuddy(indexEdit_);
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName("IndexList");
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(indexLabel);
    indexLayout->addWidget(indexEdit_);
    indexLayout->addWidget(index, 1);

    // The full-text search.
    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    auto* searchPage = new QWidget;
    auto* query = searchEngine->queryWidget();
    auto* results = searchEngine->resultWidget();
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);

    tabs_ = new QTabWidget;
    tabs_->setObjectName("HelpTabs");
    tabs_->addTab(tree, "C&ontents");
    tabs_->addTab(indexPage, "&Index");
    tabs_->addTab(searchPage, "Searc&h");

    auto* split = new QSplitter;
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 560});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this,
            [this] { showUrl(HelpSystem::pageUrl(QString::fromLatin1(HelpLink::kContents))); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this, tree](const QUrl& url) {
        setWindowTitle("Quillory Help - " + browser_->documentTitle());
        const QModelIndex at = tree->indexOf(url);
        if (at.isValid()) tree->setCurrentIndex(at);
    });
    connect(tree, &QHelpContentWidget::linkActivated, this, &THelpWindow::showUrl);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showUrl(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) showUrl(links.first().url);
            });
    connect(indexEdit_, &QLineEdit::textChanged, index, [index](const QString& text) { index->filterIndices(text); });
    connect(indexEdit_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(query, &QHelpSearchQueryWidget::search, this, [this, query] { search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &THelpWindow::showUrl);
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this, query] {
        query->setSearchInput(searchEdit_->text());
        tabs_->setCurrentIndex(2);
        search(searchEdit_->text());
    });
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);
    resize(820, 600);
}

void THelpWindow::place(QWidget* from) {
    Settings settings(settingsFile_);
    PlacedWindow::Restore(this, settings, QStringLiteral("THelpWindow"), [this, from](const QRect& area) {
        // Beside the window that asked, on the side with more room; where neither
        // side has room enough, narrower and over that side of it.
        QRect r(QPoint(), size().boundedTo(area.size()));
        if (!from) {
            r.moveCenter(area.center());
            return r;
        }
        const QRect asker = from->frameGeometry();
        const int right = area.right() - asker.right();
        const int left = asker.left() - area.left();
        int x;
        if (right >= r.width()) {
            x = asker.right() + 1;
        } else if (left >= r.width()) {
            x = asker.left() - r.width();
        } else {
            const int kNarrowest = 480;
            r.setWidth(std::min(area.width(), std::max(kNarrowest, std::min(r.width(), std::max(right, left) + asker.width() / 2))));
            x = right >= left ? area.right() + 1 - r.width() : area.left();
        }
        const int y = std::clamp(asker.top(), area.top(), std::max(area.top(), area.bottom() + 1 - r.height()));
        r.moveTopLeft(QPoint(x, y));
        return r;
    });
}

void THelpWindow::showUrl(const QUrl& url) { browser_->setSource(url); }

void THelpWindow::startSearch() {
    tabs_->setCurrentIndex(2);
    searchEdit_->setFocus();
    searchEdit_->selectAll();
}

void THelpWindow::search(const QString& words) {
    if (!words.trimmed().isEmpty()) engine_->searchEngine()->search(words.trimmed());
}

void THelpWindow::closeEvent(QCloseEvent* event) {
    if (!settingsFile_.isEmpty()) {
        Settings settings(settingsFile_);
        PlacedWindow::Save(this, settings, QStringLiteral("THelpWindow"));
    }
    QWidget::closeEvent(event);
}
