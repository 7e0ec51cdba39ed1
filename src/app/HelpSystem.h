#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QWidget;

// Help topic numbers. Each window carries its topic (setTopic); F1 and its Help button
// open the page of that topic in the help window.
namespace HelpTopic {
constexpr int Contents = 1000;
constexpr int GettingStarted = 1001;
constexpr int UsingHelp = 1002;
constexpr int Keyboard = 1003;
constexpr int OpenFile = 1010;
constexpr int NewDatabase = 1011;
constexpr int FieldLengths = 1012;
constexpr int RebuildIndexes = 1013;
constexpr int RebuildSystem = 1014;
constexpr int AddingRecords = 1020;
constexpr int NewRecord = 1021;
constexpr int Preferences = 1022;
constexpr int SelectDate = 1023;
constexpr int CopyToClipboard = 1024;
constexpr int Tags = 1025;
constexpr int MainWindow = 1029;
}  // namespace HelpTopic

// The help pages (HTML shipped inside the program), the help window that shows them,
// F1, and "What's this?" on a right click.
class HelpSystem : public QObject {
    Q_OBJECT

  public:
    // Filters the application's events for F1 and right clicks. Call once.
    static void install();

    // The page of a topic; the contents page for an unknown one.
    static QUrl topicUrl(int topic);
    static void setTopic(QWidget* window, int topic);
    // The topic of `widget`: its own, else the nearest parent's, else the contents.
    static int topicOf(const QWidget* widget);

    static void showTopic(int topic);
    static void showUrl(const QUrl& url);
    // The help window with its search field ready.
    static void showSearch();
    // The help window if it is open (for tests), else nullptr.
    static QWidget* window();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
