// The manual carried inside the program: every window of the program has a page in it,
// every page has a title and its links lead to pages and pictures of the manual, and
// the full-text search puts the page about a subject first.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include "HelpLink.h"
#include "HelpSystem.h"

namespace {

// The window classes of the program, read from its sources: every class derived,
// directly or through another, from QDialog or QMainWindow, and the help window.
QSet<QString> windowClasses() {
    const QRegularExpression declaration(R"(^class\s+(\w+)\s*(?:final\s*)?:\s*public\s+(\w+))",
                                         QRegularExpression::MultilineOption);
    QList<QPair<QString, QString>> derived;
    QDirIterator it(QStringLiteral(QUILLORY_TEST_DIR "/../../src"), {"*.h", "*.cpp"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = declaration.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            derived.append({match.captured(1), match.captured(2)});
        }
    }
    QSet<QString> windows = {"QDialog", "QMainWindow"};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [cls, base] : derived)
            if (windows.contains(base) && !windows.contains(cls)) {
                windows.insert(cls);
                grew = true;
            }
    }
    windows.remove("QDialog");
    windows.remove("QMainWindow");
    windows.remove("JobWindow");  // the frame of the job windows, never shown by itself
    windows.insert("THelpWindow");
    return windows;
}

QString pageFile(const QString& page) { return page.section('#', 0, 0); }

QString title(const QByteArray& html) {
    const auto m = QRegularExpression("<title>(.*?)</title>", QRegularExpression::DotMatchesEverythingOption)
                       .match(QString::fromUtf8(html));
    return m.hasMatch() ? m.captured(1).simplified() : QString();
}

TEST(HelpManual, EveryWindowClassHasAPageWithATitle) {
    const QSet<QString> windows = windowClasses();
    ASSERT_GT(windows.size(), 50);  // the scan found the program's windows
    for (const QString& cls : windows) {
        SCOPED_TRACE(cls.toStdString());
        ASSERT_TRUE(HelpLink::table().contains(cls)) << cls.toStdString() << " has no page in the manual";
        const QString page = HelpLink::table().value(cls);
        const QByteArray html = HelpSystem::pageData(pageFile(page));
        ASSERT_FALSE(html.isEmpty()) << page.toStdString() << " is not in the manual";
        EXPECT_FALSE(title(html).isEmpty()) << page.toStdString();
        // A page's part, named after "#", is there too.
        const QString anchor = page.section('#', 1);
        if (!anchor.isEmpty()) EXPECT_TRUE(html.contains(("id=\"" + anchor + "\"").toUtf8())) << page.toStdString();
    }
    // No entry names a window that is gone.
    for (auto it = HelpLink::table().begin(); it != HelpLink::table().end(); ++it)
        EXPECT_TRUE(windows.contains(it.key())) << it.key().toStdString() << " is no window of the program";
}

TEST(HelpManual, EveryLinkLeadsToAFileOfTheManual) {
    QHelpEngine* engine = HelpSystem::engine();
    ASSERT_NE(engine, nullptr);
    const QString ns = "org.quillory.help";
    const QList<QUrl> pages = engine->files(ns, QString(), "html");
    ASSERT_GT(pages.size(), 60);
    const QRegularExpression link(R"((?:href|src)="([^"#]*)(?:#[^"]*)?")");
    for (const QUrl& page : pages) {
        const QString html = QString::fromUtf8(engine->fileData(page));
        EXPECT_FALSE(title(html.toUtf8()).isEmpty()) << page.toString().toStdString() << " has no title";
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.isEmpty() || target.contains("://")) continue;
            EXPECT_FALSE(engine->fileData(page.resolved(QUrl(target))).isEmpty())
                << page.fileName().toStdString() << " links to " << target.toStdString() << ", which is not there";
        }
    }
}

// The pages a person would want first for a word they type into Search.
struct Wanted {
    const char* words;
    QSet<QString> first;  // one of these is the first result
};

TEST(HelpManual, SearchPutsThePageAboutTheSubjectFirst) {
    QHelpEngine* engine = HelpSystem::engine();
    ASSERT_NE(engine, nullptr);
    QHelpSearchEngine* search = engine->searchEngine();
    QTRY_VERIFY_WITH_TIMEOUT(HelpSystem::searchReady(), 60000);

    const Wanted wanted[] = {
        {"label", {"print-labels.html", "task-labels.html"}},
        {"labels", {"print-labels.html", "task-labels.html"}},
        {"envelope", {"print-envelopes.html", "task-envelopes.html"}},
        {"import", {"import-ascii.html", "import-dbf.html", "task-import-spreadsheet.html"}},
        {"duplicate", {"duplicates.html", "task-duplicates.html"}},
        {"duplicates", {"duplicates.html", "task-duplicates.html"}},
        {"presort", {"presort.html"}},
        {"merge", {"task-merge.html", "letter-editor.html", "print-letters.html"}},
        {"CSV", {"import-ascii.html", "task-import-spreadsheet.html"}},
        {"bulk mail", {"task-bulk-mail.html", "presort.html"}},
    };
    for (const Wanted& w : wanted) {
        SCOPED_TRACE(w.words);
        QSignalSpy done(search, &QHelpSearchEngine::searchingFinished);
        search->search(QString::fromLatin1(w.words));
        ASSERT_TRUE(done.wait(30000));
        const auto results = search->searchResults(0, 5);
        ASSERT_FALSE(results.isEmpty()) << "nothing found";
        QStringList top;
        for (const auto& r : results) top << r.url().fileName();
        EXPECT_TRUE(w.first.contains(top.first())) << "found first: " << top.join(", ").toStdString();
    }
}

}  // namespace
