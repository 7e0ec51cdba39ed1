#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class Messages;

// The modem dialer: dials a number through a modem on a serial port, lets the user
// pick up the handset and hangs the modem up. TQYDialer ("Dial Phone Number") and
// the command line's dial fill in its properties and call Dial().
//
// The port is a serial device opened as a file, exclusively and without waiting for a
// carrier; its line settings (speed, parity) are left as the system has them. The
// commands sent, each ended by CR LF: the initialisation string (with "AT" put in
// front unless it begins with it in any case) followed by a pause, "ATDT" or "ATDP"
// with the number, and after "Pick up phone" has been acknowledged, "ATH".
class TDialer {
  public:
    enum TComPort { dpCOM1, dpCOM2, dpCOM3, dpCOM4 };
    enum TMethod { dmTone, dmPulse };

    TComPort ComPort = dpCOM1;
    bool Confirm = false;
    TMethod Method = dmTone;
    QString NumberToDial;  // the prefix included
    QString InitStr;
    // The device to open; empty: the port's own device (/dev/ttyS0 for COM 1 and so on).
    QString DevicePath;
    // The pause after the initialisation string.
    int InitPauseMs = 1500;

    // How the pause is waited: the window keeps itself responsive, the command line
    // sleeps, tests go on at once. Without one the thread sleeps.
    std::function<void(int milliseconds)> wait;

    // The device of a port: "/dev/ttyS0" to "/dev/ttyS3".
    static QString PortDevice(TComPort port);
    // The port of a stored setting ("Dialing"/"Port", 0 to 3); COM 1 for any other value.
    static TComPort PortFromSetting(int value);
    // The device Dial() opens: DevicePath, or the port's device.
    QString portName() const;
    // The bytes of each command, in the order Dial() sends them (the hang-up last).
    QByteArray initCommand() const;  // empty without an initialisation string
    QByteArray dialCommand() const;
    static QByteArray hangUpCommand();

    static QString ConfirmText(const QString& number);  // "About to dial the number ... Are you sure?"
    inline static const QString kPickUpPhone = QStringLiteral("Pick up phone");
    inline static const QString kUnableToDial = QStringLiteral("Unable to dial number");
    static QString UnableToOpenText(const QString& port);  // "Unable to open " + port
    inline static const QString kControlInNumber =
        QStringLiteral("The number to dial (with its prefix) holds a line break or another control character");
    inline static const QString kControlInInit =
        QStringLiteral("The modem initialization string holds a line break or another control character");
    // kControlInNumber or kControlInInit when a command would carry a control
    // character; empty when both are fit to send.
    QString CommandTextProblem() const;

    // Dials: refuses a number or initialisation string with a control character;
    // asks first when Confirm is set (No stops); opens the port ("Unable to open
    // <port>" when it is missing, not a device or in use); sends the initialisation
    // string and waits; sends the dial command; then "Pick up phone" and, once that is
    // acknowledged, the hang-up, or "Unable to dial number" when the dial command could
    // not be written. The port is closed on every path. True when the number was dialed.
    bool Dial(Messages& messages) const;
};
