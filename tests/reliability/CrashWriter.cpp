// crash_writer KIND FOLDER [FIRST]: writes through the engine, the settings or the layout filer
// for ever, until it is killed. The kill test (KillTest.cpp) starts it, kills it with
// SIGKILL at a random moment and checks what the files hold.
//
// After every step that returned success the writer appends a line to FOLDER/log with
// O_APPEND; a SIGKILL leaves the kernel's copy of both the data and the log, so every
// line in the log names a change that must be found afterwards. The kinds:
//   append    a record with indexed values at the end   log "n"          (record n)
//   replace   indexed fields of record r set to round i  log "r i"
//   batch     as replace, in batches of 64 changes      log "r i"
//   memo      record r's memo set to memoText(i)        log "r i"
//   pack      records FIRST, ... appended, every third deleted, packed
//                                                       log "+n" / "-n" / "packed"
//   reindex   the address file packed and its 26 tags rebuilt, again and again
//   layout    the label layout saved as version A or B   (no log: either must be found)
//   ini       the settings saved with value A or B       (no log)

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "AddressFile.h"
#include "CrashWriterText.h"
#include "JobProgress.h"
#include "Settings.h"
#include "SettingKeys.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "Table.h"

namespace {

int logFd = -1;

void logLine(const std::string& line) {
    const std::string l = line + "\n";
    if (::write(logFd, l.data(), l.size()) != ssize_t(l.size())) std::_Exit(3);
}

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "crash_writer: %s\n", what.c_str());
    std::_Exit(2);
}

void check(const xbase::Status& s, const char* what) {
    if (!s.ok()) die(std::string(what) + ": " + s.message());
}

std::unique_ptr<xbase::Table> openTable(const std::string& folder) {
    std::unique_ptr<xbase::Table> t;
    QString message;
    if (!AddressFile::OpenTableFile(QString::fromStdString(folder + "/" + crash::kTable), &t, &message))
        die(message.toStdString());
    return t;
}

void setRecord(xbase::Table& t, const std::string& lname, const std::string& city) {
    check(t.replace(t.fieldIndex("LNAME"), lname), "LNAME");
    check(t.replace(t.fieldIndex("CITY"), city), "CITY");
    check(t.replace(t.fieldIndex("ZIP"), std::to_string(lname.size() * 7919 % 100000)), "ZIP");
}

[[noreturn]] void appendLoop(const std::string& folder) {
    auto t = openTable(folder);
    for (uint32_t n = t->recCount() + 1;; ++n) {
        check(t->appendBlank(), "append");
        setRecord(*t, crash::lname(n), crash::city(n));
        check(t->commit(), "commit");
        logLine(std::to_string(n));
    }
}

[[noreturn]] void replaceLoop(const std::string& folder) {
    auto t = openTable(folder);
    const uint32_t count = t->recCount();
    for (uint32_t i = 1;; ++i) {
        const uint32_t r = 1 + (i * 7u) % count;
        check(t->go(r), "go");
        setRecord(*t, crash::replacedLname(r, i), crash::city(i));
        check(t->commit(), "commit");
        logLine(std::to_string(r) + " " + std::to_string(i));
    }
}

// The replaces above, held in batches of 64 as a bulk tool holds them.
[[noreturn]] void batchLoop(const std::string& folder) {
    auto t = openTable(folder);
    const uint32_t count = t->recCount();
    for (uint32_t i = 1;; ++i) {
        if (i % 64 == 1) check(t->beginBatch(), "begin batch");
        const uint32_t r = 1 + (i * 7u) % count;
        check(t->go(r), "go");
        setRecord(*t, crash::replacedLname(r, i), crash::city(i));
        check(t->commit(), "commit");
        logLine(std::to_string(r) + " " + std::to_string(i));
        if (i % 64 == 0) check(t->endBatch(), "end batch");
    }
}

[[noreturn]] void memoLoop(const std::string& folder) {
    auto t = openTable(folder);
    const uint32_t count = t->recCount();
    const int memo = t->fieldIndex("MEMO");
    for (uint32_t i = 1;; ++i) {
        const uint32_t r = 1 + (i * 3u) % count;
        check(t->go(r), "go");
        check(t->replace(memo, crash::memoText(i)), "memo");
        check(t->commit(), "commit");
        logLine(std::to_string(r) + " " + std::to_string(i));
    }
}

[[noreturn]] void packLoop(const std::string& folder, uint32_t start) {
    auto t = openTable(folder);
    uint32_t next = start;
    for (;;) {
        for (int k = 0; k < 40; ++k, ++next) {
            check(t->appendBlank(), "append");
            setRecord(*t, crash::lname(next), crash::city(next));
            check(t->commit(), "commit");
            logLine("+" + std::to_string(next));
            if (next % 3 == 0) {
                check(t->deleteRecord(), "delete");
                logLine("-" + std::to_string(next));
            }
        }
        check(t->pack(), "pack");
        logLine("packed");
    }
}

[[noreturn]] void reindexLoop(const std::string& folder) {
    auto t = openTable(folder);
    JobProgress silent;
    for (uint32_t i = 1;; ++i) {
        AddressFile::ReindexGauge gauge;
        QString message;
        if (!AddressFile::Reindex(*t, gauge, &message, silent)) die(message.toStdString());
        logLine(std::to_string(i));
    }
}

[[noreturn]] void layoutLoop(const std::string& folder) {
    const QString path = QString::fromStdString(folder + "/" + crash::kLayout);
    for (uint32_t i = 0;; ++i) {
        TGOwner owner;
        TGLabelPanel panel(&owner);
        // Version A has one text object, B has many: the files differ in size too.
        const int objects = i % 2 ? 60 : 1;
        for (int k = 0; k < objects; ++k) {
            auto text = std::make_unique<TGPLabel>();
            text->SetOwner(&owner);
            text->SetName(QStringLiteral("Special%1").arg(k + 1));
            text->SetBounds(4 * k, 2 * k, 120, 20);
            text->SetCaption(QStringLiteral("Version %1").arg(i % 2 ? 'B' : 'A'));
            panel.InsertObject(std::move(text));
        }
        if (!panel.SaveToFile(path).ok()) die("layout save");
    }
}

[[noreturn]] void iniLoop(const std::string& folder) {
    Settings settings(QString::fromStdString(folder + "/" + crash::kIni));
    for (uint32_t i = 0;; ++i) {
        QString error;
        const QString value = i % 2 ? crash::kIniValueB : crash::kIniValueA;
        if (!settings.write({{setting::kDefaultCountry, value}}, &error)) die(error.toStdString());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) die("usage: crash_writer KIND FOLDER [FIRST]");
    QGuiApplication app(argc, argv);  // the layout objects measure text with the platform's fonts
    const std::string kind = argv[1], folder = argv[2];
    logFd = ::open((folder + "/log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0) die("cannot open the log");
    logLine("ready");
    if (kind == "append") appendLoop(folder);
    if (kind == "replace") replaceLoop(folder);
    if (kind == "batch") batchLoop(folder);
    if (kind == "memo") memoLoop(folder);
    if (kind == "pack") packLoop(folder, argc == 4 ? uint32_t(std::stoul(argv[3])) : 1);
    if (kind == "reindex") reindexLoop(folder);
    if (kind == "layout") layoutLoop(folder);
    if (kind == "ini") iniLoop(folder);
    die("unknown kind " + kind);
}
