#include "WmfPlayer.h"

#include <QImage>
#include <QPolygonF>
#include <QtEndian>
#include <cmath>
#include <map>
#include <vector>

namespace {

// Record functions (the low byte numbers the function, the high byte its parameter count).
enum : uint16_t {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSetPolyFillMode = 0x0106,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kExtTextOut = 0x0A32,
    kStretchDib = 0x0F43,
    // Records that create an object we do not draw with: they still fill a slot.
    kCreatePalette = 0x00F7,
    kCreatePatternBrush = 0x01F9,
    kDibCreatePatternBrush = 0x0142,
    kCreateRegion = 0x06FF,
};

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

QColor colorRef(uint16_t low, uint16_t high) { return QColor(low & 0xFF, low >> 8, high & 0xFF); }

struct Object {
    enum class Kind { Pen, Brush, Font, Other } kind = Kind::Other;
    QPen pen;
    QBrush brush;
    QFont font;
    int fontHeight = 0;
    int escapement = 0;
};

class Player {
  public:
    Player(QPainter& painter, const QRectF& target) : p_(painter), target_(target) {}

    bool run(const QByteArray& data);

  private:
    int16_t param(int i) const { return int16_t(params_[size_t(i)]); }
    uint16_t uparam(int i) const { return params_[size_t(i)]; }
    QPointF map(double x, double y) const {
        return QPointF(target_.left() + (x - org_.x()) * target_.width() / ext_.width(),
                       target_.top() + (y - org_.y()) * target_.height() / ext_.height());
    }
    double scaleX() const { return std::abs(target_.width() / ext_.width()); }
    double scaleY() const { return std::abs(target_.height() / ext_.height()); }
    QRectF mapRect(int left, int top, int right, int bottom) const {
        return QRectF(map(left, top), map(right, bottom)).normalized();
    }
    void addObject(Object o) {
        for (size_t i = 0; i < objects_.size(); ++i) {
            if (!used_[i]) {
                objects_[i] = std::move(o);
                used_[i] = true;
                return;
            }
        }
        objects_.push_back(std::move(o));
        used_.push_back(true);
    }
    QPolygonF points(int first, int count) const {
        QPolygonF poly;
        for (int i = 0; i < count && first + 2 * i + 1 < int(params_.size()); ++i)
            poly << map(param(first + 2 * i), param(first + 2 * i + 1));
        return poly;
    }
    QString text(int first, int length) const {
        QByteArray bytes;
        for (int i = 0; i < length; ++i) {
            const int word = first + i / 2;
            if (word >= int(params_.size())) break;
            bytes.append(char(i % 2 == 0 ? uparam(word) & 0xFF : uparam(word) >> 8));
        }
        return QString::fromLatin1(bytes);
    }
    void drawText(double x, double y, const QString& s);
    void stretchDib();
    void record(uint16_t function);

    QPainter& p_;
    QRectF target_;
    QPointF org_{0, 0};
    QSizeF ext_{1, 1};
    bool haveExt_ = false;
    QPointF cursor_;
    QColor textColor_ = Qt::black;
    Object font_;
    Qt::FillRule fill_ = Qt::OddEvenFill;
    std::vector<Object> objects_;
    std::vector<bool> used_;
    std::vector<uint16_t> params_;
};

void Player::drawText(double x, double y, const QString& s) {
    QFont font = font_.font;
    const double height = std::abs(font_.fontHeight ? font_.fontHeight : 12) * scaleY();
    font.setPixelSize(std::max(1, int(std::lround(height))));
    p_.save();
    p_.setFont(font);
    p_.setPen(textColor_);
    p_.translate(map(x, y));
    if (font_.escapement) p_.rotate(-font_.escapement / 10.0);
    p_.drawText(QPointF(0, p_.fontMetrics().ascent()), s);
    p_.restore();
}

void Player::stretchDib() {
    // rop(2 words), usage, srcH, srcW, ySrc, xSrc, destH, destW, yDest, xDest, DIB...
    if (params_.size() < 12) return;
    const int destH = param(7), destW = param(8), yDest = param(9), xDest = param(10);
    QByteArray dib;
    for (size_t i = 11; i < params_.size(); ++i) {
        dib.append(char(params_[i] & 0xFF));
        dib.append(char(params_[i] >> 8));
    }
    if (dib.size() < 40) return;
    const uint32_t headerSize = qFromLittleEndian<uint32_t>(dib.constData());
    const uint16_t bitCount = qFromLittleEndian<uint16_t>(dib.constData() + 14);
    uint32_t colors = qFromLittleEndian<uint32_t>(dib.constData() + 32);
    if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
    QByteArray bmp("BM");
    char field[4];
    qToLittleEndian<uint32_t>(uint32_t(14 + dib.size()), field);
    bmp.append(field, 4);
    bmp.append(QByteArray(4, '\0'));
    qToLittleEndian<uint32_t>(14 + headerSize + colors * 4, field);
    bmp.append(field, 4);
    bmp.append(dib);
    QImage image;
    if (image.loadFromData(bmp, "BMP"))
        p_.drawImage(mapRect(xDest, yDest, xDest + destW, yDest + destH), image);
}

void Player::record(uint16_t function) {
    const int n = int(params_.size());
    switch (function) {
        case kSetWindowOrg:
            if (n >= 2) org_ = QPointF(param(1), param(0));
            break;
        case kSetWindowExt:
            if (n >= 2 && param(0) != 0 && param(1) != 0) {
                ext_ = QSizeF(param(1), param(0));
                haveExt_ = true;
            }
            break;
        case kSetTextColor:
            if (n >= 2) textColor_ = colorRef(uparam(0), uparam(1));
            break;
        case kSetPolyFillMode:
            if (n >= 1) fill_ = param(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case kCreatePenIndirect: {
            if (n < 5) break;
            Object o;
            o.kind = Object::Kind::Pen;
            const int style = uparam(0) & 0x0F;
            static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                                  Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
            o.pen = QPen(colorRef(uparam(3), uparam(4)), param(1) * scaleX(),
                         style < 6 ? styles[style] : Qt::SolidLine);
            addObject(o);
            break;
        }
        case kCreateBrushIndirect: {
            if (n < 4) break;
            Object o;
            o.kind = Object::Kind::Brush;
            const QColor color = colorRef(uparam(1), uparam(2));
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
            if (uparam(0) == 1) {
                o.brush = Qt::NoBrush;
            } else if (uparam(0) == 2 && uparam(3) < 6) {
                o.brush = QBrush(color, hatches[uparam(3)]);
            } else {
                o.brush = QBrush(color);
            }
            addObject(o);
            break;
        }
        case kCreateFontIndirect: {
            if (n < 9) break;
            Object o;
            o.kind = Object::Kind::Font;
            o.fontHeight = param(0);
            o.escapement = param(2);
            const QString face = text(9, 32).section(QChar('\0'), 0, 0);
            o.font = QFont(face.isEmpty() ? QStringLiteral("Arial") : face);
            o.font.setBold(param(4) >= 600);
            o.font.setItalic((uparam(5) & 0xFF) != 0);
            o.font.setUnderline((uparam(5) >> 8) != 0);
            o.font.setStrikeOut((uparam(6) & 0xFF) != 0);
            addObject(o);
            break;
        }
        case kCreatePalette:
        case kCreatePatternBrush:
        case kDibCreatePatternBrush:
        case kCreateRegion:
            addObject(Object());
            break;
        case kSelectObject: {
            if (n < 1 || uparam(0) >= objects_.size() || !used_[uparam(0)]) break;
            const Object& o = objects_[uparam(0)];
            if (o.kind == Object::Kind::Pen) p_.setPen(o.pen);
            if (o.kind == Object::Kind::Brush) p_.setBrush(o.brush);
            if (o.kind == Object::Kind::Font) font_ = o;
            break;
        }
        case kDeleteObject:
            if (n >= 1 && uparam(0) < used_.size()) used_[uparam(0)] = false;
            break;
        case kMoveTo:
            if (n >= 2) cursor_ = map(param(1), param(0));
            break;
        case kLineTo:
            if (n >= 2) {
                const QPointF to = map(param(1), param(0));
                p_.drawLine(cursor_, to);
                cursor_ = to;
            }
            break;
        case kRectangle:
            if (n >= 4) p_.drawRect(mapRect(param(3), param(2), param(1), param(0)));
            break;
        case kEllipse:
            if (n >= 4) p_.drawEllipse(mapRect(param(3), param(2), param(1), param(0)));
            break;
        case kRoundRect:
            if (n >= 6)
                p_.drawRoundedRect(mapRect(param(5), param(4), param(3), param(2)), param(1) * scaleX() / 2,
                                   param(0) * scaleY() / 2, Qt::AbsoluteSize);
            break;
        case kPolygon:
            if (n >= 1) p_.drawPolygon(points(1, param(0)), fill_);
            break;
        case kPolyline:
            if (n >= 1) p_.drawPolyline(points(1, param(0)));
            break;
        case kPolyPolygon: {
            if (n < 1) break;
            const int polys = param(0);
            int at = 1 + polys;
            for (int i = 0; i < polys && 1 + i < n; ++i) {
                p_.drawPolygon(points(at, param(1 + i)), fill_);
                at += 2 * param(1 + i);
            }
            break;
        }
        case kTextOut:
            if (n >= 1) {
                const int len = param(0);
                const int after = 1 + (len + 1) / 2;
                if (after + 1 < n) drawText(param(after + 1), param(after), text(1, len));
            }
            break;
        case kExtTextOut:
            if (n >= 4) {
                const int len = param(2);
                const int first = 4 + ((uparam(3) & 0x0006) ? 4 : 0);
                drawText(param(1), param(0), text(first, len));
            }
            break;
        case kStretchDib:
            stretchDib();
            break;
        default:
            break;
    }
}

bool Player::run(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype size = data.size();
    qsizetype at = 0;
    if (size >= 22 && qFromLittleEndian<uint32_t>(bytes) == kPlaceableKey) {
        const int16_t left = qFromLittleEndian<int16_t>(bytes + 6),
                      top = qFromLittleEndian<int16_t>(bytes + 8);
        const int16_t right = qFromLittleEndian<int16_t>(bytes + 10),
                      bottom = qFromLittleEndian<int16_t>(bytes + 12);
        if (right != left && bottom != top) {
            org_ = QPointF(left, top);
            ext_ = QSizeF(right - left, bottom - top);
            haveExt_ = true;
        }
        at = 22;
    }
    if (size - at < 18) return false;
    const uint16_t type = qFromLittleEndian<uint16_t>(bytes + at);
    const uint16_t headerWords = qFromLittleEndian<uint16_t>(bytes + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9) return false;
    if (!haveExt_) ext_ = target_.size();
    at += 18;
    p_.setPen(QPen(Qt::black, 0));
    p_.setBrush(Qt::white);
    while (at + 6 <= size) {
        const uint32_t words = qFromLittleEndian<uint32_t>(bytes + at);
        const uint16_t function = qFromLittleEndian<uint16_t>(bytes + at + 4);
        if (function == kEof || words < 3 || qsizetype(words) * 2 > size - at) break;
        params_.assign(words - 3, 0);
        for (uint32_t i = 0; i + 3 < words; ++i)
            params_[i] = qFromLittleEndian<uint16_t>(bytes + at + 6 + 2 * i);
        record(function);
        at += qsizetype(words) * 2;
    }
    return true;
}

}  // namespace

bool WmfPlayer::play(QPainter& painter, const QByteArray& data, const QRectF& target) {
    if (target.isEmpty()) return false;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    Player player(painter, target);
    const bool ok = player.run(data);
    painter.restore();
    return ok;
}
