// Quillory: a desktop mailing-list manager. With a command after the options it
// runs headless (see cli::run); without one it starts the desktop program.

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "AppHome.h"
#include "Cli.h"
#include "Desktop.h"
#include "HelpSystem.h"
#include "PrintMemory.h"
#include "SingleInstance.h"
#include "TAddressMain.h"
#include "WindowMessages.h"

namespace {

int runDesktop(int argc, char** argv, const QString& homeArg) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillory");
    QApplication::setApplicationVersion(QUILLORY_VERSION);
    AppHome home(AppHome::resolve(homeArg));

    // One program per user and home: a second start brings the first one forward.
    SingleInstance instance(SingleInstance::keyFor(home.root()));
    if (instance.askRunningToRaise()) return 0;
    if (instance.listen() == SingleInstance::Listen::OtherRunning) return 0;

    QString error;
    if (!home.ensureExists(&error)) {
        WindowMessages().error(error);
        return 1;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetUpDesktop(home);
    TAddressMain window(home);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &TAddressMain::bringToFront);
    QApplication::restoreOverrideCursor();
    window.FormActivate();
    const int code = app.exec();
    HelpSystem::shutDown();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    KeepPageBuffersInHeap();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string home;
    size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) {
        if (args[i] == "--home" && i + 1 < args.size()) {
            home = args[i + 1];
            i += 2;
        } else if (args[i].rfind("--home=", 0) == 0) {
            home = args[i].substr(7);
            ++i;
        } else if (args[i] == "--help") {
            args[i] = "help";
            break;
        } else {
            break;  // Qt's own options (-platform and the like) pass through below
        }
    }
    if (i < args.size() && cli::isCommand(args[i])) {
        const std::string resolved = AppHome::resolve(QString::fromStdString(home)).toStdString();
        return cli::run(std::vector<std::string>(args.begin() + long(i), args.end()), resolved, std::cout,
                        std::cerr);
    }
    if (i < args.size() && args[i].rfind("-", 0) != 0) {
        std::cerr << "quillory: unknown command \"" << args[i] << "\" (try quillory help)\n";
        return cli::kUsage;
    }
    return runDesktop(argc, argv, QString::fromStdString(home));
}
