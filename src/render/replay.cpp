// Display list replay onto a QPainter.
#include "render/replay.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/real.h"

namespace kamo {

QColor FromWindowsColour(unsigned v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

std::array<QColor, 17> PaletteColours(const std::array<unsigned, 17>& w) {
  std::array<QColor, 17> c;
  for (size_t i = 0; i < 17; ++i) c[i] = FromWindowsColour(w[i]);
  return c;
}

namespace {

// The numeric fields of a record, read without allocating.
struct Fields {
  double v[8] = {};
  int n = 0;
  std::string_view rest;  // the text of record 6
};

bool ParseReal(std::string_view s, double& out) {
  // Readers accept "," as well as ".".
  char buf[64];
  if (s.empty() || s.size() >= sizeof buf) return false;
  size_t n = 0;
  for (char c : s) buf[n++] = c == ',' ? '.' : c;
  auto r = std::from_chars(buf, buf + n, out);
  return r.ec == std::errc() && r.ptr == buf + n && std::isfinite(out);
}

// Splits "code;f1;f2..."; false for a record without a valid code.
bool Split(std::string_view rec, int& code, Fields& f) {
  size_t semi = rec.find(';');
  std::string_view c = rec.substr(0, semi);
  auto r = std::from_chars(c.data(), c.data() + c.size(), code);
  if (r.ec != std::errc() || r.ptr != c.data() + c.size() || code < 1 || code > 13) return false;
  f.n = 0;
  if (semi == std::string_view::npos) return true;
  std::string_view rest = rec.substr(semi + 1);
  while (f.n < 8) {
    if (code == 6 && f.n == 2) {
      f.rest = rest;
      return true;
    }
    size_t p = rest.find(';');
    if (!ParseReal(rest.substr(0, p), f.v[f.n])) return false;
    ++f.n;
    if (p == std::string_view::npos) break;
    rest = rest.substr(p + 1);
  }
  return true;
}

constexpr int kNeeded[14] = {0, 2, 2, 3, 4, 8, 2, 8, 1, 4, 8, 1, 1, 1};

class Replayer final : public DisplayBackend {
 public:
  Replayer(QPainter& p, const ReplayStyle& s, const ReplayTarget& t) : p_(p), s_(s), t_(t) {
    colour_ = 1;
    applyColour();
    setPen();
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    if (t_.fixedWorld) setWorld(t_.wx0, t_.wy0, t_.wx1, t_.wy1, t_.device);
  }

  bool Record(const DisplayItem& item, std::string_view text) override {
    Fields f;
    f.n = DisplayFieldCount(item.code);
    for (int i = 0; i < f.n; ++i) f.v[i] = item.v[i];
    f.rest = text;
    return record(static_cast<int>(item.code), f);
  }

  bool record(int code, const Fields& f) {
    if (f.n < kNeeded[code] && code != 6) return true;  // a short record is skipped
    const double* v = f.v;
    switch (code) {
      case 1: penPos_ = pt(v[0], v[1]); break;
      case 2: {
        QPointF q = pt(v[0], v[1]);
        if (ready_) p_.drawLine(QLineF(penPos_, q));
        penPos_ = q;
        break;
      }
      case 3:
        if (ready_) {
          p_.setBrush(Qt::NoBrush);
          p_.drawEllipse(pt(v[0], v[1]), v[2] * sx_, v[2] * sy_);
        }
        break;
      case 4:
        if (ready_) p_.drawLine(QLineF(pt(v[0], v[1]), pt(v[2], v[3])));
        break;
      case 5: arc(v); break;
      case 6:
        if (f.n >= 2) text(v[0], v[1], f.rest);
        break;
      case 7:
        if (ready_) {
          QPolygonF poly;
          for (int i = 0; i < 4; ++i) poly << pt(v[2 * i], v[2 * i + 1]);
          p_.setPen(Qt::NoPen);
          p_.setBrush(current_);
          p_.drawPolygon(poly);
          setPen();
        }
        break;
      case 8:
        if (v[0] >= 0 && v[0] < 17) {
          colour_ = static_cast<int>(v[0]);
          applyColour();
        }
        break;
      case 9:
        textHeight_ = v[0] * 1.6 * s_.textHeightFactor;
        textWidth_ = v[1] * 1.1 * s_.textWidthFactor;
        textAngle_ = v[3];
        fontValid_ = false;
        break;
      case 10:
        if (v[4] == v[6] || v[5] == v[7]) return false;
        if (!t_.fixedWorld) window(v);
        break;
      case 11:
        style_ = static_cast<int>(std::clamp(v[0], -1.0, 4.0));  // others draw solid
        setPen();
        break;
      case 12:
        width_ = std::clamp(v[0], 0.0, 100.0);
        setPen();
        break;
      default:  // 13: pauses only on the screen, never in a picture
        // A negative or huge pause must not stop the program for good.
        if (t_.pause) t_.pause(static_cast<int>(std::clamp(v[0], 0.0, 10000.0)));
        break;
    }
    return true;
  }

 private:
  QPointF pt(double x, double y) const { return {ox_ + (x - ex0_) * sx_, oy_ - (y - ey0_) * sy_}; }

  void setWorld(double x0, double y0, double x1, double y1, const QRectF& dev) {
    double w = x1 - x0, h = y1 - y0;
    if (w == 0 || h == 0 || dev.width() <= 0 || dev.height() <= 0) {
      ready_ = false;
      return;
    }
    double s = std::min(dev.width() / std::fabs(w), dev.height() / std::fabs(h));
    sx_ = sy_ = s;
    ex0_ = std::min(x0, x1);
    ey0_ = std::min(y0, y1);
    // Equal scales in x and y; the drawing is centred in the viewport.
    ox_ = dev.left() + (dev.width() - std::fabs(w) * s) / 2;
    oy_ = dev.bottom() - (dev.height() - std::fabs(h) * s) / 2;
    ready_ = true;
    fontValid_ = false;
  }

  void window(const double* v) {
    double fx = t_.device.width() / std::max(1, t_.recordResX);
    double fy = t_.device.height() / std::max(1, t_.recordResY);
    QRectF dev(QPointF(t_.device.left() + v[0] * fx, t_.device.top() + v[1] * fy),
               QPointF(t_.device.left() + v[2] * fx, t_.device.top() + v[3] * fy));
    double wx0 = v[4], wy0 = v[5], wx1 = v[6], wy1 = v[7];
    double vw = v[2] - v[0], vh = v[3] - v[1];
    if (t_.zoomed && vw != 0 && vh != 0 && t_.zx1 != t_.zx0 && t_.zy1 != t_.zy0) {
      double ww = wx1 - wx0, wh = wy1 - wy0;
      wx0 = v[4] + (t_.zx0 - v[0]) / vw * ww;
      wx1 = v[4] + (t_.zx1 - v[0]) / vw * ww;
      wy0 = v[5] + (t_.zy0 - v[1]) / vh * wh;
      wy1 = v[5] + (t_.zy1 - v[1]) / vh * wh;
    }
    setWorld(wx0, wy0, wx1, wy1, dev.normalized());
  }

  QColor colourOf(int c) const {
    if (c == 0) return s_.background;
    if (!s_.colour) return Qt::black;
    QColor q = s_.palette[static_cast<size_t>(c)];
    // White lines vanish on white paper.
    if (q == s_.background) return Qt::black;
    return q;
  }

  void applyColour() {
    current_ = colourOf(colour_);
    setPen();
  }

  void setPen() {
    QPen pen(current_);
    pen.setWidthF(std::max(width_, 1.0) * s_.penUnit);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::BevelJoin);
    switch (style_) {
      case 1: pen.setStyle(Qt::DotLine); break;
      case 2: pen.setStyle(Qt::DashDotLine); break;
      case 3: pen.setStyle(Qt::DashLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
  }

  void arc(const double* v) {
    if (!ready_) return;
    double cx = (v[0] + v[2]) / 2, cy = (v[1] + v[3]) / 2;
    double a1 = RadToDeg(std::atan2(v[5] - cy, v[4] - cx));
    double a2 = RadToDeg(std::atan2(v[7] - cy, v[6] - cx));
    double sweep = a2 - a1;
    while (sweep <= 0) sweep += 360;
    // Coinciding end points: the whole circle, which a zero span would lose.
    if (std::fabs(v[4] - v[6]) < 1e-9 * (1 + std::fabs(v[2] - v[0])) &&
        std::fabs(v[5] - v[7]) < 1e-9 * (1 + std::fabs(v[3] - v[1])))
      sweep = 360;
    QRectF box(pt(std::min(v[0], v[2]), std::max(v[1], v[3])),
               pt(std::max(v[0], v[2]), std::min(v[1], v[3])));
    QPainterPath path;
    path.arcMoveTo(box, a1);
    path.arcTo(box, a1, sweep);
    p_.drawPath(path);
  }

  void makeFont() {
    fontValid_ = true;
    font_ = QFont(s_.font);
    int code = s_.fontStyle;
    bool valid = code >= 1 && code <= 15;
    font_.setWeight(valid && (code & 1) ? QFont::Bold : QFont::Thin);
    font_.setItalic(valid && (code & 2));
    font_.setUnderline(valid && (code & 4));
    font_.setStrikeOut(valid && (code & 8));
    double cell = textHeight_ * sy_;
    pixelCell_ = cell;
    if (!(cell > 0.5) || cell > 1e5) return;
    // The text height is the height of the character cell.
    font_.setPixelSize(100);
    QFontMetricsF m100(font_);
    double px = std::max(1.0, 100 * cell / std::max(1.0, m100.height()));
    font_.setPixelSize(static_cast<int>(std::lround(px)));
    QFontMetricsF m(font_);
    double avg = m.averageCharWidth();
    double want = textWidth_ * sx_;
    if (avg > 0 && want > 0)
      font_.setStretch(static_cast<int>(std::lround(std::clamp(100 * want / avg, 1.0, 4000.0))));
    ascent_ = QFontMetricsF(font_).ascent();
  }

  void text(double x, double y, std::string_view t) {
    if (!ready_ || t.empty()) return;
    if (!fontValid_) makeFont();
    // Too small to be seen, or larger than any page.
    if (!(pixelCell_ > 0.5) || pixelCell_ > 1e5) return;
    double a = DegToRad(textAngle_);
    double h = textHeight_;
    QPointF at = textAngle_ == 0 ? pt(x, y + 0.75 * h)
                                 : pt(x - std::sin(a) * 0.7 * h, y + std::cos(a) * 0.75 * h);
    QString s = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    p_.save();
    p_.setFont(font_);
    p_.setPen(current_);
    p_.translate(at);
    if (textAngle_ != 0) p_.rotate(-textAngle_);
    p_.drawText(QPointF(0, ascent_), s);
    p_.restore();
  }

  QPainter& p_;
  const ReplayStyle& s_;
  const ReplayTarget& t_;
  bool ready_ = false;
  double ex0_ = 0, ey0_ = 0, sx_ = 1, sy_ = 1, ox_ = 0, oy_ = 0;
  QPointF penPos_;
  int colour_ = 1, style_ = 0;
  double width_ = 1;
  QColor current_ = Qt::black;
  double textHeight_ = 3.5, textWidth_ = 3.5, textAngle_ = 0;
  bool fontValid_ = false;
  QFont font_;
  double pixelCell_ = 0, ascent_ = 0;
};

}  // namespace

void ZoomAs(ReplayTarget& target, const ViewTransform& view) {
  target.recordResX = view.resX;
  target.recordResY = view.resY;
  target.zoomed = true;
  target.zx0 = view.zx0;
  target.zy0 = view.zy0;
  target.zx1 = view.zx1;
  target.zy1 = view.zy1;
}

ReplayResult ReplayDisplayList(QPainter& painter, const DisplayList& list, const ReplayStyle& style,
                               const ReplayTarget& target) {
  ReplayResult result;
  painter.save();
  {
    Replayer r(painter, style, target);
    bool stopped = false;
    result.records = PlayDisplayList(list, r, &stopped);
    result.ok = !stopped;
  }
  painter.restore();
  return result;
}

ReplayResult ReplayDisplayList(QPainter& painter, const std::vector<std::string>& records,
                               const ReplayStyle& style, const ReplayTarget& target) {
  ReplayResult result;
  painter.save();
  {
    Replayer r(painter, style, target);
    Fields f;
    for (const std::string& rec : records) {
      int code = 0;
      if (!Split(rec, code, f)) continue;  // unreadable records are skipped
      ++result.records;
      if (!r.record(code, f)) {
        result.ok = false;
        break;
      }
    }
  }
  painter.restore();
  return result;
}

}  // namespace kamo
