#pragma once

#include <string>
#include <utility>

namespace xbase {

// The result of every fallible engine call. The engine never throws across its
// boundary; the window layer turns a failed Status into a message.
class [[nodiscard]] Status {
public:
    enum class Code { Ok, NotFound, Corruption, IOError, InvalidArgument, Locked, NotSupported };

    Status() = default;
    static Status OK() { return Status(); }
    static Status NotFound(std::string msg) { return Status(Code::NotFound, std::move(msg)); }
    static Status Corruption(std::string msg) { return Status(Code::Corruption, std::move(msg)); }
    static Status IOError(std::string msg) { return Status(Code::IOError, std::move(msg)); }
    static Status InvalidArgument(std::string msg) { return Status(Code::InvalidArgument, std::move(msg)); }
    static Status Locked(std::string msg) { return Status(Code::Locked, std::move(msg)); }
    static Status NotSupported(std::string msg) { return Status(Code::NotSupported, std::move(msg)); }

    bool ok() const { return code_ == Code::Ok; }
    Code code() const { return code_; }
    const std::string& message() const { return message_; }
    bool isNotFound() const { return code_ == Code::NotFound; }
    bool isCorruption() const { return code_ == Code::Corruption; }
    bool isLocked() const { return code_ == Code::Locked; }
    bool isInvalidArgument() const { return code_ == Code::InvalidArgument; }
    bool isNotSupported() const { return code_ == Code::NotSupported; }

    // "Corruption: header length past end of file" and the like.
    std::string toString() const;

private:
    Status(Code code, std::string msg) : code_(code), message_(std::move(msg)) {}

    Code code_ = Code::Ok;
    std::string message_;
};

}  // namespace xbase
