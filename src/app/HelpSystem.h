#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QHelpEngine;
class QWidget;

// The manual: compiled help (a .qch and its collection, built from data/help) carried
// inside the program and copied to the user's cache folder when first needed; the help
// window that shows it; F1; and "What's this?" on a right click. Which page belongs to
// which window is HelpLink's table; install() makes HelpLink show pages here.
class HelpSystem : public QObject {
    Q_OBJECT

  public:
    // Filters the application's events for F1 and right clicks, and becomes HelpLink's
    // viewer. The help window keeps its place in `settingsFile` (none: not kept). Call
    // once.
    static void install(const QString& settingsFile = {});

    // The help engine over the manual, set up on first use; nullptr when the manual
    // cannot be unpacked (the cache folder is not writable).
    static QHelpEngine* engine();
    // Takes the help window and the engine down, after the search index thread has
    // stopped: before the application object goes. Help can be used again after it.
    static void shutDown();
    // Whether the full-text index is made (it is made in the background once the
    // manual is unpacked).
    static bool searchReady();
    // The address of a page of the manual ("print-labels.html", "search.html#memo").
    static QUrl pageUrl(const QString& page);
    // A page's HTML as stored in the manual (empty when there is no such page).
    static QByteArray pageData(const QString& page);

    // Shows `page` in the help window, opened beside `from` (else the active window).
    static void showPage(const QString& page, QWidget* from = nullptr);
    static void showUrl(const QUrl& url, QWidget* from = nullptr);
    // The help window with its search field ready.
    static void showSearch(QWidget* from = nullptr);
    // The help window if it is open (for tests), else nullptr.
    static QWidget* window();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
