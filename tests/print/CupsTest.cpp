// One job printed as a user's printer prints it: through a CUPS daemon of the test's
// own (its folders, socket and queue in a temporary folder) to a cups-pdf queue, from
// the real binary. The system's own daemon, if any, is never asked.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "RunQuillory.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;


void write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// A cupsd serving a socket in `dir`, in the foreground, until the object goes.
class PrivateCups {
  public:
    explicit PrivateCups(const TempDir& dir) : dir_(dir) {}
    ~PrivateCups() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        fs::remove(instanceConfig_, ec);
    }

    std::string socket() const { return dir_.file("cups.sock"); }
    std::string out() const { return dir_.file("out"); }

    // Starts the daemon with a cups-pdf queue `queue` that writes into out(); false
    // with `why` when this machine cannot run one.
    bool start(const std::string& queue, std::string* why) {
        for (const char* dir : {"root", "spool", "cache", "state", "log", "tmp", "out", "cpspool"})
            fs::create_directories(dir_.file(dir));
        for (const char* dir : {"tmp", "out", "cpspool"})
            fs::permissions(dir_.file(dir), fs::perms::all | fs::perms::sticky_bit);
        fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
        write(dir_.file("root/cupsd.conf"),
              "Listen " + socket() +
                  "\nLogLevel info\nWebInterface No\nBrowsing No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
        write(dir_.file("root/cups-files.conf"),
              "ServerRoot " + dir_.file("root") + "\nRequestRoot " + dir_.file("spool") + "\nCacheDir " +
                  dir_.file("cache") + "\nStateDir " + dir_.file("state") + "\nTempDir " + dir_.file("tmp") +
                  "\nErrorLog " + dir_.file("log/error_log") + "\nAccessLog " + dir_.file("log/access_log") +
                  "\nPageLog " + dir_.file("log/page_log") + "\nPrintcap " + dir_.file("printcap") +
                  "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nSandboxing Relaxed\n");
        // cups-pdf reads the settings of the instance its device URI names from a
        // fixed folder; this one, made for the test alone, sends the files to out().
        instance_ = "quillory" + std::to_string(getpid());
        instanceConfig_ = "/etc/cups/cups-pdf-" + instance_ + ".conf";
        write(instanceConfig_, "Out " + out() + "\nAnonDirName " + out() + "\nSpool " + dir_.file("cpspool") +
                                   "\nLog " + dir_.file("log") + "\n");

        pid_ = fork();
        if (pid_ == 0) {
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", dir_.file("root/cupsd.conf").c_str(), "-s",
                  dir_.file("root/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100 && !fs::exists(socket()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!fs::exists(socket())) {
            *why = "cupsd did not start";
            return false;
        }
        int code = 0;
        const std::string added =
            runCommand("CUPS_SERVER=" + socket() + " lpadmin -p " + queue + " -E -v cups-pdf:/" + instance_ +
                    " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd",
                &code);
        if (code != 0) {
            *why = "lpadmin failed: " + added;
            return false;
        }
        return true;
    }

  private:
    const TempDir& dir_;
    pid_t pid_ = -1;
    std::string instance_;
    std::string instanceConfig_;
};

TEST(CupsTest, ZipCountPrintsThroughACupsPdfQueue) {
    if (geteuid() != 0) GTEST_SKIP() << "a private CUPS daemon with cups-pdf needs root";
    for (const char* needed : {"/usr/sbin/cupsd", "/usr/lib/cups/backend/cups-pdf",
                               "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/etc/cups"})
        ASSERT_TRUE(fs::exists(needed)) << needed << " is missing: scripts/install-deps.sh installs it";

    TempDir dir;
    PrivateCups cups(dir);
    std::string why;
    ASSERT_TRUE(cups.start("QuilloryTestPDF", &why)) << why;

    std::unique_ptr<xbase::Table> table;
    QString message;
    const std::string file = dir.file("zips.dbf");
    ASSERT_TRUE(AddressFile::CreateAddressFile(QString::fromStdString(file), FieldLengths(), &message));
    ASSERT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(file), &table, &message));
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(table->appendBlank().ok());
        ASSERT_TRUE(table->replace(table->fieldIndex("ZIP"), std::to_string(20000 + i)).ok());
    }
    ASSERT_TRUE(table->close().ok());

    int code = 0;
    const std::string out = runCommand("CUPS_SERVER=" + cups.socket() + " " + QUILLORY_BINARY + " --home " +
                                    dir.file("home") + " zipcount " + file + " --printer QuilloryTestPDF",
                                &code);
    ASSERT_EQ(code, 0) << out;
    EXPECT_NE(out.find("300 records"), std::string::npos) << out;

    std::string pdf;
    for (int i = 0; i < 300 && pdf.empty(); ++i) {
        for (const auto& entry : fs::directory_iterator(cups.out()))
            if (entry.path().extension() == ".pdf") pdf = entry.path().string();
        if (pdf.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(pdf.empty()) << "no PDF from the queue; " << runCommand("tail -20 " + dir.file("log/error_log"));
    // cups-pdf writes the file before it is complete; wait until poppler can read it.
    std::string info;
    for (int i = 0; i < 100; ++i) {
        info = runCommand("pdfinfo " + pdf, &code);
        if (code == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // The queue's paper is its own (A4 or Letter): 300 lines are two pages on either.
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
}

}  // namespace
