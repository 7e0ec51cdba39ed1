// The dialer against a pseudo-terminal that plays the modem.

#include <gtest/gtest.h>
#include <sys/file.h>

#include <QFile>

#include "PtyModem.h"
#include "ScriptedMessages.h"
#include "TDialer.h"
#include "TempDir.h"

namespace {

// The message route of a dial: records the texts, and on "Pick up phone" notes what
// the modem had by then, so that the hang-up is seen to follow it.
class DialMessages : public ScriptedMessages {
  public:
    explicit DialMessages(PtyModem* modem) : modem_(modem) {}
    void inform(const QString& text, const QString& caption) override {
        if (modem_ && text == TDialer::kPickUpPhone) {
            modem_->waitForLine("ATD");
            atPickUp = modem_->received();
        }
        ScriptedMessages::inform(text, caption);
    }
    std::string atPickUp;

  private:
    PtyModem* modem_;
};

TDialer dialerOn(const PtyModem& modem) {
    TDialer d;
    d.DevicePath = QString::fromStdString(modem.path());
    d.wait = [](int) {};
    return d;
}

TEST(Dialer, CommandSequenceSeenByTheModem) {
    struct Case {
        const char* init;
        TDialer::TMethod method;
        const char* number;
        std::string sent;
    };
    const Case cases[] = {
        {"", TDialer::dmTone, "555-1234", "ATDT555-1234\r\n"},
        {"at&f", TDialer::dmTone, "555-1234", "at&f\r\nATDT555-1234\r\n"},
        {"&F1 E0", TDialer::dmTone, "9,555", "AT&F1 E0\r\nATDT9,555\r\n"},
        {"ATZ", TDialer::dmPulse, "555-1234", "ATZ\r\nATDP555-1234\r\n"},
        {"", TDialer::dmTone, "", "ATDT\r\n"},
    };
    for (const Case& c : cases) {
        PtyModem modem;
        ASSERT_TRUE(modem.ok());
        DialMessages messages(&modem);
        TDialer dialer = dialerOn(modem);
        dialer.InitStr = c.init;
        dialer.Method = c.method;
        dialer.NumberToDial = c.number;
        int pauses = 0;
        dialer.wait = [&](int ms) {
            EXPECT_EQ(ms, 1500);
            ++pauses;
        };
        EXPECT_TRUE(dialer.Dial(messages)) << c.init;
        ASSERT_TRUE(modem.waitFor("ATH\r\n"));
        EXPECT_EQ(modem.received(), c.sent + "ATH\r\n");
        EXPECT_EQ(messages.atPickUp, c.sent);  // the hang-up waits for the user
        EXPECT_EQ(pauses, *c.init ? 1 : 0);
        EXPECT_EQ(messages.texts(), QStringList({"Information: Pick up phone"}));
    }
}

TEST(Dialer, ConfirmAnsweredNoSendsNothing) {
    PtyModem modem;
    DialMessages messages(&modem);
    messages.answers = {false};
    TDialer dialer = dialerOn(modem);
    dialer.Confirm = true;
    dialer.NumberToDial = "555-1234";
    EXPECT_FALSE(dialer.Dial(messages));
    EXPECT_EQ(messages.texts(), QStringList({"Confirm: About to dial the number 555-1234. Are you sure?"}));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(modem.received(), "");
}

TEST(Dialer, MissingBusyOrNoDeviceIsReportedAndLeftAlone) {
    TempDir dir;
    PtyModem modem;
    ASSERT_TRUE(modem.ok());
    const int busy = ::open(modem.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(busy, LOCK_EX | LOCK_NB), 0);
    {
        QFile file(QString::fromStdString(dir.file("notes.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    for (const std::string& path : {std::string("/dev/ttyNOSUCH9"), modem.path(), dir.file("notes.txt")}) {
        ScriptedMessages messages;
        TDialer dialer;
        dialer.DevicePath = QString::fromStdString(path);
        dialer.InitStr = "ATZ";
        dialer.wait = [](int) { ADD_FAILURE() << "no pause without a port"; };
        EXPECT_FALSE(dialer.Dial(messages));
        EXPECT_EQ(messages.texts(),
                  QStringList({"Quillory: Unable to open " + QString::fromStdString(path)}));
    }
    QFile file(QString::fromStdString(dir.file("notes.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
    ::close(busy);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(modem.received(), "");
}

TEST(Dialer, PortsAndSettings) {
    EXPECT_EQ(TDialer::PortDevice(TDialer::dpCOM1), "/dev/ttyS0");
    EXPECT_EQ(TDialer::PortDevice(TDialer::dpCOM4), "/dev/ttyS3");
    EXPECT_EQ(TDialer::PortFromSetting(2), TDialer::dpCOM3);
    EXPECT_EQ(TDialer::PortFromSetting(7), TDialer::dpCOM1);
}

}  // namespace
