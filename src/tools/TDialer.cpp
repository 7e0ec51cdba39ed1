#include "TDialer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "Messages.h"

namespace {

// How long a command may wait for the port to take it (flow control holding it up).
constexpr int kWriteTimeoutMs = 5000;

// A serial port held open for writing, exclusively, for the length of one dial.
class Port {
  public:
    explicit Port(const QString& path) {
        fd_ = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;
        struct stat st;
        // Only a device: a path to an ordinary file must never be written over.
        if (::fstat(fd_, &st) != 0 || !S_ISCHR(st.st_mode) || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            close();
            return;
        }
        // Keep other openers out while the modem is ours (a busy port refuses us the same way).
        if (::isatty(fd_)) exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
    }
    ~Port() { close(); }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, kWriteTimeoutMs) <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
                return false;
        }
        // Wait until the bytes have left, so that the pause and the hang-up follow them.
        if (::isatty(fd_)) (void)::tcdrain(fd_);
        return true;
    }

  private:
    void close() {
        if (fd_ < 0) return;
        if (exclusive_) (void)::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    bool exclusive_ = false;
};

}  // namespace

QString TDialer::PortDevice(TComPort port) { return QStringLiteral("/dev/ttyS%1").arg(int(port)); }

TDialer::TComPort TDialer::PortFromSetting(int value) {
    return value >= 0 && value <= 3 ? TComPort(value) : dpCOM1;
}

QString TDialer::portName() const { return DevicePath.isEmpty() ? PortDevice(ComPort) : DevicePath; }

QByteArray TDialer::initCommand() const {
    if (InitStr.isEmpty()) return {};
    QByteArray command = InitStr.toLatin1();
    if (!command.left(2).toUpper().startsWith("AT")) command.prepend("AT");
    return command + "\r\n";
}

QByteArray TDialer::dialCommand() const {
    return QByteArray(Method == dmPulse ? "ATDP" : "ATDT") + NumberToDial.toLatin1() + "\r\n";
}

QByteArray TDialer::hangUpCommand() { return QByteArrayLiteral("ATH\r\n"); }

QString TDialer::ConfirmText(const QString& number) {
    return QStringLiteral("About to dial the number ") + number + QStringLiteral(". Are you sure?");
}

QString TDialer::UnableToOpenText(const QString& port) { return QStringLiteral("Unable to open ") + port; }

QString TDialer::CommandTextProblem() const {
    // A CR or LF would end the modem command early and start another with whatever
    // follows; no control character belongs in a number or an initialisation string.
    const auto hasControl = [](const QString& text) {
        for (const QChar c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
        return false;
    };
    if (hasControl(NumberToDial)) return kControlInNumber;
    if (hasControl(InitStr)) return kControlInInit;
    return {};
}

bool TDialer::Dial(Messages& messages) const {
    if (const QString problem = CommandTextProblem(); !problem.isEmpty()) {
        messages.error(problem);
        return false;
    }
    if (Confirm && !messages.ask(ConfirmText(NumberToDial), QStringLiteral("Confirm"))) return false;
    Port port(portName());
    if (!port.isOpen()) {
        messages.error(UnableToOpenText(portName()));
        return false;
    }
    bool written = true;
    const QByteArray init = initCommand();
    if (!init.isEmpty()) {
        written = port.write(init);
        if (written) {
            if (wait) {
                wait(InitPauseMs);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(InitPauseMs));
            }
        }
    }
    if (written) written = port.write(dialCommand());
    if (!written) {
        messages.error(kUnableToDial);
        return false;
    }
    messages.inform(kPickUpPhone);
    (void)port.write(hangUpCommand());
    return true;
}
