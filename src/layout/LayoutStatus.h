#pragma once

#include <QString>

// The result of a layout file operation: success, or the message the user is shown
// (the class library's read errors such as "Class TGFoo not found", or the system's
// message for a file that cannot be written).
class [[nodiscard]] LayoutStatus {
  public:
    LayoutStatus() = default;
    static LayoutStatus OK() { return LayoutStatus(); }
    static LayoutStatus Error(const QString& message) {
        return LayoutStatus(message.isEmpty() ? "Error" : message);
    }

    bool ok() const { return message_.isEmpty(); }
    const QString& message() const { return message_; }

  private:
    explicit LayoutStatus(const QString& message) : message_(message) {}
    QString message_;
};
