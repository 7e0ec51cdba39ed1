#include "Desktop.h"

#include <QApplication>
#include <QFont>

#include "AppHome.h"
#include "DesignClipboard.h"
#include "HelpSystem.h"
#include "Mnemonics.h"
#include "Settings.h"

void SetUpDesktop(const AppHome& home) {
    QApplication::setFont(QFont("Arial", 10));
    HelpSystem::install(Settings::GetIniFileName(home));
    Mnemonics::install();
    // The designers copy and paste objects through a file of the home.
    DesignClipboard::SetFileName(home.file(QStringLiteral("Clipbrd.tmp")));
}
