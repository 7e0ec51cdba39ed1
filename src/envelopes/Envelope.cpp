#include "Envelope.h"

#include <QStringList>
#include <cmath>

#include "AddressFile.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SystemTables.h"
#include "Table.h"

namespace Envelope {

const std::vector<Size>& Sizes() {
    static const std::vector<Size> sizes{
        {19, "Envelope #9 3 7/8 x 8 7/8 inches", 8.875, 3.875},
        {20, "Envelope #10 4 1/8 x 9 1/2 inches", 9.5, 4.125},
        {21, "Envelope #11 4 1/2 x 10 3/8 inches", 10.375, 4.5},
        {22, "Envelope #12 4 3/4 x 11 inches", 11, 4.75},
        {23, "Envelope #14 5 x 11 1/2 inches", 11.5, 5},
        {27, "Envelope DL 110 x 220 mm", 8.8, 4.4},
        {28, "Envelope C5 162 x 229 mm ", 9.16, 6.48},
        {30, "Envelope C4  229 x 324 mm", 12.96, 9.16},
        {31, "Envelope C6  114 x 162 mm", 6.48, 4.56},
        {32, "Envelope C65 114 x 229 mm", 9.16, 4.56},
        {33, "Envelope B4  250 x 353 mm", 14.12, 10},
        {34, "Envelope B5  176 x 250 mm", 10, 7.04},
        {35, "Envelope B6  176 x 125 mm", 5, 7.04},
        {36, "Envelope 110 x 230 mm", 9.2, 4.4},
        {37, "Envelope Monarch 3 7/8 x 7 1/2 inches", 7.5, 3.875},
        {38, "6 3/4 Envelope 3 5/8 x 6 1/2 inches", 6.5, 3.625},
    };
    return sizes;
}

Size SizeOf(int code) {
    for (const Size& s : Sizes())
        if (s.code == code) return s;
    return {code, "", -1, -1};
}

Definition ReadDefinition(const xbase::Table& table) {
    Definition def;
    const int descript = table.fieldIndex("DESCRIPT"), number = table.fieldIndex("NUMBER"),
              binary = table.fieldIndex("BINARY");
    def.description = descript < 0 ? QString() : AddressFile::text(table, descript);
    def.code = number < 0 ? -1 : QString::fromStdString(table.getTrimString(number)).toInt();
    def.binary = binary < 0 ? QString() : AddressFile::text(table, binary).trimmed();
    return def;
}

bool WriteDefinition(xbase::Table& table, const Definition& def, QString* error) {
    const std::pair<const char*, QString> values[] = {
        {"DESCRIPT", def.description}, {"NUMBER", QString::number(def.code)}, {"BINARY", def.binary}};
    for (const auto& [name, value] : values) {
        const int field = table.fieldIndex(name);
        if (field < 0) continue;
        const xbase::Status s = AddressFile::setText(table, field, value);
        if (!s.ok()) {
            *error = QString::fromStdString(s.message());
            return false;
        }
    }
    return true;
}

uint32_t FindDefinition(xbase::Table& table, const QString& description) {
    return SystemTables::FindDescription(table, description);
}

Feed Feed::Load(const Settings& settings) {
    Feed f;
    f.orientation = settings.value(setting::kEnvelopeOrientation) == 0 ? 0 : 1;
    f.faceDown = settings.value(setting::kEnvelopeFacing) != 0;
    const int position = settings.value(setting::kEnvelopePosition);
    f.position = position == 0 ? Left : position == 1 ? Right : Center;
    f.clockwise = settings.value(setting::kEnvelopeClockWiseRotation);
    return f;
}

bool Feed::Save(Settings& settings, QString* error) const {
    return settings.write({{setting::kEnvelopeOrientation, orientation},
                           {setting::kEnvelopeFacing, faceDown ? 1 : 0},
                           {setting::kEnvelopePosition, int(position)},
                           {setting::kEnvelopeClockWiseRotation, clockwise}},
                          error);
}

QString Feed::Description() const {
    QString text = position == Left ? "Position: Left\r\n" : position == Right ? "Position: Right\r\n"
                                                                               : "Position: Center\r\n";
    text += orientation == 0 ? "Orientation : Portrait\r\n" : "Orientation : Landscape\r\n";
    if (clockwise) text += "Clockwise Rotation\r\n";
    text += faceDown ? "Facing Down" : "Facing Up";
    return text;
}

bool ParseCalibration(const QString& text, QPointF* offset) {
    const QStringList parts = text.split(',');
    if (parts.size() != 2) return false;
    bool okX = false, okY = false;
    const double x = parts[0].trimmed().toDouble(&okX), y = parts[1].trimmed().toDouble(&okY);
    if (!okX || !okY || std::abs(x) > 1 || std::abs(y) > 1) return false;
    *offset = QPointF(x, y);
    return true;
}

QPointF LoadCalibration(const Settings& settings, const QString& printer) {
    QPointF offset;
    if (printer.isEmpty() || !ParseCalibration(settings.value(setting::EnvelopeCalibration(printer)), &offset))
        return {};
    return offset;
}

bool SaveCalibration(Settings& settings, const QString& printer, QPointF offset, QString* error) {
    const QString text = QString("%1,%2").arg(offset.x(), 0, 'f', 3).arg(offset.y(), 0, 'f', 3);
    return settings.write({{setting::EnvelopeCalibration(printer), text}}, error);
}

QPointF Placement(const Feed& feed, double pageWidth, double pageHeight, double width, double height) {
    auto tenths = [](double v) { return std::trunc(v * 10); };
    if (tenths(pageWidth) == tenths(width) && tenths(pageHeight) == tenths(height)) return {0, 0};
    double x = 0, y = 0;
    // Face down, the envelope's left lies on the tray's right.
    Feed::Position position = feed.position;
    if (feed.faceDown && position != Feed::Center) position = position == Feed::Left ? Feed::Right : Feed::Left;
    if (feed.orientation == 0) {
        x = position == Feed::Left ? 0 : position == Feed::Right ? pageWidth - width : (pageWidth - width) / 2;
    } else {
        x = feed.clockwise ? 0 : pageWidth - width;
        y = position == Feed::Left ? 0 : position == Feed::Right ? pageHeight - height : (pageHeight - height) / 2;
    }
    return {std::max(0.0, x), std::max(0.0, y)};
}

bool PaperDiffers(double pageWidth, double pageHeight, double width, double height) {
    auto hundredths = [](double v) { return std::trunc(v * 100); };
    return std::abs(hundredths(width) - hundredths(pageWidth)) > 100 ||
           std::abs(hundredths(height) - hundredths(pageHeight)) > 100;
}

}  // namespace Envelope
