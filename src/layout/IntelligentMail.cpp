#include "IntelligentMail.h"

#include <zint.h>

#include <memory>

#include "PostNet.h"

namespace layout::imb {

namespace {

bool AllDigits(const QString& s) {
    for (QChar c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

// libzint keeps each row of the symbol as bits, the lowest bit of each byte first.
bool ModuleIsSet(const zint_symbol& s, int row, int column) {
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

}  // namespace

double BarTop(QChar state) { return state == 'A' || state == 'F' ? 0.0 : kTrackerTop; }

double BarHeight(QChar state) {
    switch (state.unicode()) {
        case 'F':
            return kFullBarHeight;
        case 'A':
            return kAscenderHeight;
        case 'D':
            return kFullBarHeight - kTrackerTop;
        default:
            return kTrackerHeight;
    }
}

Encoding Encode(const QString& tracking, const QString& routing) {
    Encoding e;
    if (tracking.size() != 20 || !AllDigits(tracking)) {
        e.error = QString("The tracking code \"%1\" is not 20 digits").arg(tracking);
        return e;
    }
    if (tracking[1] > '4') {
        e.error = QString("The barcode identifier %1 has a second digit above 4").arg(tracking.left(2));
        return e;
    }
    if (!AllDigits(routing) ||
        !(routing.isEmpty() || routing.size() == 5 || routing.size() == 9 || routing.size() == 11)) {
        e.error = QString("The routing code \"%1\" is not 5, 9 or 11 digits").arg(routing);
        return e;
    }
    // libzint takes "TRACKING-ROUTING".
    const QByteArray input = (routing.isEmpty() ? tracking : tracking + '-' + routing).toLatin1();
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        e.error = "Out of memory";
        return e;
    }
    symbol->symbology = BARCODE_USPS_IMAIL;
    const int result = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char*>(input.constData()), int(input.size()));
    // The symbol is three rows: ascenders, tracker and descenders, each bar one module
    // with a module of space after it.
    if (result >= ZINT_ERROR || symbol->rows != 3 || symbol->width != 2 * kBarCount - 1) {
        e.error = result >= ZINT_ERROR ? QString::fromLatin1(symbol->errtxt)
                                       : QString("The barcode library gave no Intelligent Mail barcode");
        return e;
    }
    for (int bar = 0; bar < kBarCount; ++bar) {
        const bool up = ModuleIsSet(*symbol, 0, 2 * bar);
        const bool down = ModuleIsSet(*symbol, 2, 2 * bar);
        e.states += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
    }
    return e;
}

int SerialLength(const QString& mailerId) {
    if (!AllDigits(mailerId)) return 0;
    // Nine-digit mailer identifiers start with 9, six-digit ones never do: that is how
    // the reader of the barcode tells where the serial number begins.
    if (mailerId.size() == 6 && mailerId[0] != '9') return 9;
    if (mailerId.size() == 9 && mailerId[0] == '9') return 6;
    return 0;
}

QString TrackingCode(const QString& barcodeId, const QString& serviceType, const QString& mailerId,
                     const QString& serial, QString* error) {
    auto fail = [error](const QString& message) {
        if (error) *error = message;
        return QString();
    };
    if (barcodeId.size() != 2 || !AllDigits(barcodeId))
        return fail(QString("The barcode identifier \"%1\" is not 2 digits").arg(barcodeId));
    if (barcodeId[1] > '4')
        return fail(QString("The barcode identifier %1 has a second digit above 4").arg(barcodeId));
    if (serviceType.size() != 3 || !AllDigits(serviceType))
        return fail(QString("The service type \"%1\" is not 3 digits").arg(serviceType));
    const int serialLength = SerialLength(mailerId);
    if (serialLength == 0)
        return fail(QString("The mailer identifier \"%1\" is not 6 digits (not starting with 9) or 9 digits "
                            "(starting with 9)")
                        .arg(mailerId));
    if (serial.isEmpty() || serial.size() > serialLength || !AllDigits(serial))
        return fail(QString("The serial number \"%1\" is not 1 to %2 digits").arg(serial).arg(serialLength));
    if (error) error->clear();
    return barcodeId + serviceType + mailerId + serial.rightJustified(serialLength, '0');
}

QString RoutingCode(const QString& zip, const QString& address, TIMBarCodeRouting type, QString* error) {
    if (error) error->clear();
    if (type == imbrNone) return QString();
    const QString z = zip.trimmed();
    QString digits;
    if (z.size() == 5 && AllDigits(z)) {
        digits = z;
    } else if (z.size() == 9 && AllDigits(z)) {
        digits = z;
    } else if (z.size() == 10 && z[5] == '-' && AllDigits(z.left(5)) && AllDigits(z.mid(6))) {
        digits = z.left(5) + z.mid(6);
    } else {
        if (error) *error = QString("The ZIP code \"%1\" is not a US ZIP code").arg(zip);
        return QString();
    }
    if (type == imbr5Digit || digits.size() == 5) return digits.left(5);
    if (type == imbr9Digit) return digits;
    return digits + postnet::DeliveryPoint(address);
}

}  // namespace layout::imb
