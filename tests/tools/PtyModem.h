#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

// A modem for the dialer's tests: a pseudo-terminal whose device the dialer opens as
// its serial port, and a thread at the other end that reads what arrives and answers
// "OK" to every command line, as a modem does. The device is set raw, so the bytes
// arrive as sent.
class PtyModem {
  public:
    PtyModem() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        path_ = ::ptsname(master_);
        // Held open so that the line stays up between the dialer's opens; never locked.
        slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
        termios t;
        if (slave_ >= 0 && ::tcgetattr(slave_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(slave_, TCSANOW, &t);
        }
        thread_ = std::thread([this] { answer(); });
    }
    ~PtyModem() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    PtyModem(const PtyModem&) = delete;
    PtyModem& operator=(const PtyModem&) = delete;

    bool ok() const { return slave_ >= 0; }
    const std::string& path() const { return path_; }

    // What the modem has received so far.
    std::string received() {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }
    // Waits (at most a few seconds) until what has arrived contains `text`.
    bool waitFor(const std::string& text) {
        for (int i = 0; i < 300; ++i) {
            if (received().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Waits until a whole line (ended by CR LF) that starts with `start` has arrived.
    bool waitForLine(const std::string& start) {
        for (int i = 0; i < 300; ++i) {
            const std::string got = received();
            const size_t at = got.find(start);
            if (at != std::string::npos && got.find("\r\n", at) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

  private:
    void answer() {
        std::string line;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
            char buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                received_.append(buf, size_t(n));
            }
            line.append(buf, size_t(n));
            for (size_t end; (end = line.find("\r\n")) != std::string::npos;) {
                line.erase(0, end + 2);
                const char ok[] = "OK\r\n";
                (void)!::write(master_, ok, sizeof ok - 1);
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string received_;
};
