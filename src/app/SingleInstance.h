#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user and home. The first start listens on a local socket
// named after the executable, the user and the home; a later start finds it there,
// asks it to bring its window forward and ends. A socket left behind by a program
// that crashed answers nobody and is replaced.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // The socket name for `homeRoot`, the same for every start of this executable by
    // this user on that home.
    static QString keyFor(const QString& homeRoot);
    static QString keyFor(const QString& homeRoot, const QString& executableName);

    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running program to come forward. True when one took the request: this
    // process should then end.
    bool askRunningToRaise(int timeoutMs = 2000);

    enum class Listen { Listening, OtherRunning, Failed };
    // Starts answering later starts. OtherRunning when another start took the name
    // first (it has then been asked to come forward); Failed when no socket can be made.
    Listen listen();

  signals:
    void raiseRequested();

  private:
    void onNewConnection();

    QString key_;
    QLocalServer* server_ = nullptr;
};
