// Sheet frame and title blocks of the production drawing.
#include "graphics/titleblock.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/identity.h"
#include "core/numbers.h"

namespace kamo {

namespace {
namespace fs = std::filesystem;

bool Iso(int form) { return form == kIsoFig1 || form == kIsoFig2; }
bool IsoWide(const Settings& s) { return Iso(s.titleBlockForm) && s.frameMargin == 1; }

std::string Trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool BlockFileExists(const CadOutput& cad, const char* name) { return cad.blockFileExists(name); }

// The user's logo, head and insert blocks belong to the pages that carry the logos.
bool PageWithLogos(const CadOutput& cad) { return (cad.format().page & kPageLogos) != 0; }

void Fitted(CadOutput& cad, const std::string& text, Real height, Real width, Real maxLength, Real x,
            Real y) {
  if (text.empty()) return;
  cad.CadFitTextStyle(2, text, 0, height, width, maxLength);
  cad.CadText(text, x, y);
}

std::string IsoDate(const CadOutput& cad) {
  const Clock* c = const_cast<CadOutput&>(cad).environment().clock;
  DateTime t = c ? c->now() : DateTime{};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
  return buf;
}

std::string RevisionLetter(int changeCount) {
  return std::string(1, static_cast<char>(65 + std::clamp(changeCount, 0, 25)));
}

void IsoNumberAndNames(CadOutput& cad, const std::string& name, const std::string& name2,
                       const std::string& number) {
  cad.CadLayer(5);
  Fitted(cad, number, 3.5L, 2.8L, 48, 130, 12);
  Fitted(cad, name, 3.5L, 2.8L, 50, 76, 8.5L);
  cad.CadLayer(4);
  Fitted(cad, name2, 2.5L, 1.8L, 50, 76, 2.5L);
}

void IsoFig2(const SheetFrameContext& ctx, const std::string& name, const std::string& name2,
             const std::string& number) {
  CadOutput& cad = ctx.cad;
  const DrawingInfo& in = ctx.project.info;
  cad.CadLayer(5);
  cad.CadRect(0, 0, 180, 36);
  cad.CadLayer(3);
  static const Real lines[][4] = {{74, 0, 74, 36},    {0, 27, 180, 27},   {74, 18, 180, 18},
                                  {128, 0, 128, 27},  {128, 9, 180, 9},   {136, 0, 136, 9},
                                  {160, 0, 160, 9},   {170, 0, 170, 9},   {31, 27, 31, 36},
                                  {116, 27, 116, 36}, {158, 27, 158, 36}};
  for (const auto& l : lines) cad.CadLine(l[0], l[1], l[2], l[3]);
  cad.CadTextStyle(2, 0, 1.6L, 1.3L);
  cad.CadText("Verantwortl. Abt.", 1, 33.5L);
  cad.CadText("Technische Referenz", 32, 33.5L);
  cad.CadText("Erstellt durch", 75, 33.5L);
  cad.CadText("Genehmigt von", 117, 33.5L);
  cad.CadText("Dokumentenart", 75, 24.5L);
  cad.CadText("Dokumentenstatus", 129, 24.5L);
  cad.CadText("Titel, Zus\x84tzlicher Titel", 75, 15.5L);
  cad.CadText("\x8End.", 129, 6.5L);
  cad.CadText("Ausgabedatum", 137, 6.5L);
  cad.CadText("Spr.", 161, 6.5L);
  cad.CadText("Blatt", 171, 6.5L);
  IsoNumberAndNames(cad, name, name2, number);
  cad.CadLayer(4);
  cad.CadTextStyle(2, 0, 2.5L, 1.8L);
  cad.CadText(in.responsibleDept, 2, 29);
  cad.CadText(in.rows[2].name, 33, 29);
  cad.CadText(in.rows[0].name, 76, 29);
  cad.CadText(in.rows[1].name, 118, 29);
  cad.CadText(RevisionLetter(ctx.project.changeCount), 130, 2);
  cad.CadText(IsoDate(cad), 138, 2);
  cad.CadText("de", 162, 2);
  cad.CadText(in.documentType, 76, 20);
  cad.CadText(in.documentStatus, 130, 20);
  if (ctx.settings.showChanges && ctx.project.changeCount > 0) DrawChangeTable(ctx, 36);
}

void IsoFig1(const SheetFrameContext& ctx, const std::string& name, const std::string& name2,
             const std::string& number) {
  CadOutput& cad = ctx.cad;
  const DrawingInfo& in = ctx.project.info;
  cad.CadLayer(5);
  cad.CadRect(0, 0, 180, 27);
  cad.CadLayer(3);
  static const Real lines[][4] = {{74, 0, 74, 27},   {0, 18, 180, 18},  {128, 0, 128, 18},
                                  {128, 9, 180, 9},  {136, 0, 136, 9},  {160, 0, 160, 9},
                                  {170, 0, 170, 9},  {31, 0, 31, 27},   {135, 18, 135, 27},
                                  {31, 9, 74, 9}};
  for (const auto& l : lines) cad.CadLine(l[0], l[1], l[2], l[3]);
  cad.CadTextStyle(2, 0, 1.6L, 1.3L);
  cad.CadText("Verantwortl. Abt.", 1, 24.5L);
  cad.CadText("Technische Referenz", 32, 24.5L);
  cad.CadText("Dokumentenart", 75, 24.5L);
  cad.CadText("Dokumentenstatus", 136, 24.5L);
  cad.CadText("Erstellt durch", 32, 15.5L);
  cad.CadText("Titel, Zus\x84tzlicher Titel", 75, 15.5L);
  cad.CadText("Genehmigt von", 32, 6.5L);
  cad.CadText("\x8End.", 129, 6.5L);
  cad.CadText("Ausgabedatum", 137, 6.5L);
  cad.CadText("Spr.", 161, 6.5L);
  cad.CadText("Blatt", 171, 6.5L);
  IsoNumberAndNames(cad, name, name2, number);
  cad.CadLayer(4);
  cad.CadTextStyle(2, 0, 2.5L, 1.8L);
  cad.CadText(in.rows[0].name, 33, 11);
  cad.CadText(in.rows[1].name, 33, 2);
  cad.CadText(in.responsibleDept, 2, 20);
  cad.CadText(in.rows[2].name, 33, 20);
  cad.CadText(in.documentType, 76, 20);
  cad.CadText(in.documentStatus, 138, 20);
  cad.CadText(RevisionLetter(ctx.project.changeCount), 130, 2);
  cad.CadText(IsoDate(cad), 138, 2);
  cad.CadText("de", 162, 2);
  if (ctx.settings.showChanges && ctx.project.changeCount > 0) DrawChangeTable(ctx, 27);
}

void Din(const SheetFrameContext& ctx, bool full, const std::string& name, const std::string& name2,
         const std::string& number) {
  CadOutput& cad = ctx.cad;
  const CamProject& p = ctx.project;
  const DrawingInfo& in = p.info;
  const Real h = full ? 55.25L : 38.25L;
  cad.CadLayer(5);
  cad.CadRect(0, 0, 187.2L, h);
  cad.CadLayer(4);
  cad.CadLine(0, 4.25L, 187.2L, 4.25L);
  cad.CadLine(54.6L, 17, 187.2L, 17);
  if (full) {
    cad.CadLine(98.8L, 48.875L, 187.2L, 48.875L);
    cad.CadLine(0, 38.25L, 187.2L, 38.25L);
    cad.CadLine(54.6L, 0, 54.6L, 55.25L);
    cad.CadLine(98.8L, 0, 98.8L, 55.25L);
  } else {
    cad.CadLine(54.6L, 0, 54.6L, 38.25L);
    cad.CadLine(98.8L, 0, 98.8L, 38.25L);
  }
  cad.CadLayer(3);
  cad.CadLine(174.2L, 8.5L, 187.2L, 8.5L);
  cad.CadLine(7.8L, 0, 7.8L, 38.25L);
  cad.CadLine(33.8L, 0, 33.8L, 38.25L);
  cad.CadLine(46.8L, 0, 46.8L, 38.25L);
  cad.CadLine(65, 17, 65, 38.25L);
  cad.CadLine(143, 0, 143, 4.25L);
  if (full) {
    cad.CadLine(80.6L, 17, 80.6L, 55.25L);
    cad.CadLine(150.8L, 48.875L, 150.8L, 55.25L);
  } else {
    cad.CadLine(80.6L, 17, 80.6L, 38.25L);
  }
  cad.CadLine(174.2L, 4.25L, 174.2L, 17);
  for (int i = 2; i <= 8; ++i) cad.CadLine(0, 4.25L * i, 54.6L, 4.25L * i);
  for (int j = 5; j <= 8; ++j) cad.CadLine(54.6L, 4.25L * j, 98.8L, 4.25L * j);
  cad.CadTextStyle(2, 0, 1.6L, 1.3L);
  cad.CadText("Zust.", 1, 1);
  cad.CadText("\x8Enderung", 8.8L, 1);
  cad.CadText("Datum", 34.8L, 1);
  cad.CadText("Name", 47.8L, 1);
  cad.CadTextStyle(2, 0, 1.8L, 1.5L);
  cad.CadText("Datum", 66, 35);
  cad.CadText("Name", 81.6L, 35);
  cad.CadText("Bearb.", 55.6L, 30.75L);
  cad.CadText("Gepr.", 55.6L, 26.5L);
  cad.CadText("Norm", 55.6L, 22.25L);
  cad.CadText(ctx.settings.releaseFieldText, 55.6L, 18);
  static const Real rowY[4] = {30.75L, 26.5L, 22.25L, 18};
  for (int i = 0; i < 4; ++i) {
    cad.CadText(in.rows[static_cast<size_t>(i)].date, 66, rowY[i]);
    cad.CadText(in.rows[static_cast<size_t>(i)].name, 81.6L, rowY[i]);
  }
  if (!in.replacementFor.empty()) cad.CadText("Ersatz f\x81r " + in.replacementFor, 99.8L, 1);
  if (!in.replacedBy.empty()) cad.CadText("Ersetzt durch " + in.replacedBy, 144, 1);
  int count = std::min<int>(p.changeCount, kMaxChanges);
  if (count > 0) {
    cad.CadLayer(3);
    cad.CadTextStyle(2, 0, 1.7L, 1.3L);
    int first = FirstShownChange(count);
    for (int i = first; i <= count; ++i) {
      const ChangeRecord& c = p.changes[static_cast<size_t>(i)];
      Real y = 4.25L * (i - first + 1) + 1;
      cad.CadText(ChangeIndexLabel(ctx.settings.changeIndexStyle, i), 1, y);
      cad.CadText(c.changeText, 8.8L, y);
      cad.CadText(c.changeDate, 34.8L, y);
      cad.CadText(c.responsible, 47.8L, y);
    }
  }
  cad.CadLayer(3);
  cad.CadTextStyle(2, 0, 1.5L, 1.2L);
  cad.CadText(ctx.ownerName, 55.6L, 1);
  cad.CadLayer(5);
  Fitted(cad, name, 5, 4, 84, 100.8L, 28.625L);
  Fitted(cad, number, 5, 4, 71, 100.8L, 7.375L);
  cad.CadLayer(4);
  Fitted(cad, name2, 3.5L, 2.8L, 84, 100.8L, 20.125L);
}
}  // namespace

int FirstShownChange(int changeCount) { return changeCount < 9 ? 1 : changeCount - 7; }

std::string ChangeIndexLabel(int style, int i) {
  switch (style) {
    case 0: return i >= 1 && i <= 26 ? std::string(1, static_cast<char>(96 + i)) : std::to_string(i);
    case 1: return std::to_string(i);
    case 2: return i >= 1 && i <= 26 ? std::string(1, static_cast<char>(64 + i)) : std::to_string(i);
    default: return {};
  }
}

Real StandardScale(Real x) {
  auto roundEven = [](Real v) { return std::nearbyint(v); };  // halves to even
  Real lg = x > 0 ? std::log10(x) : 0;
  Real e = roundEven(lg - 0.49L);
  Real a = std::pow(10.0L, e);
  Real b = roundEven(x / a - 0.49L);
  if (b < 2) return a;
  if (b <= 4) return 2 * a;
  if (b <= 10) return 5 * a;
  return a;
}

std::string ScaleText(const NumberStyle& ns, Real m) {
  if (m >= 1) return "M " + FormatGeneral(ns, m) + ":1";
  if (!(m > 0)) return "M 1:1";
  return "M 1:" + FormatGeneral(ns, 1 / m);
}

std::string ShortenText(const std::string& s, int n) {
  if (static_cast<int>(s.size()) <= n) return s;
  size_t k = static_cast<size_t>(std::max(n / 2 - 3, 0));
  return s.substr(0, k) + " ... " + s.substr(s.size() - (k + 1));
}

void SheetWindow(CadOutput& cad, int format) {
  if (format == kSheetA3) {
    cad.CadPaper(420, 297);
    cad.CadWindow(-2, -5, 422, 305, 0);
  }
  if (format == kSheetA4) {
    cad.CadPaper(210, 297);
    cad.CadWindow(-5, -5, 215, 307, 0);
  }
}

void DrawChangeTable(const SheetFrameContext& ctx, Real b) {
  CadOutput& cad = ctx.cad;
  const CamProject& p = ctx.project;
  int count = std::min<int>(p.changeCount, kMaxChanges);
  int n = std::min(8, count);
  cad.CadLayer(3);
  for (int i = 1; i <= n + 1; ++i) cad.CadLine(0, b + 3.5L * i, 180, b + 3.5L * i);
  for (Real x : {0.0L, 8.0L, 25.0L, 40.0L, 70.0L}) cad.CadLine(x, b, x, b + 3.5L * (n + 1));
  cad.CadTextStyle(2, 0, 1.75L, 1.3125L);
  Real y = b + 0.9L;
  cad.CadText("Index", 1, y);
  cad.CadText("Datum", 9, y);
  cad.CadText("Name", 26, y);
  cad.CadText("\x8Enderung", 41, y);
  cad.CadText("Beschreibung", 71, y);
  int first = FirstShownChange(count);
  for (int i = first; i <= count; ++i) {
    const ChangeRecord& c = p.changes[static_cast<size_t>(i)];
    Real ry = b + 3.5L * (i - first + 1) + 0.9L;
    std::string d = c.description;
    for (char& ch : d)
      if (ch == '\r' || ch == '\n') ch = ' ';
    cad.CadText(ChangeIndexLabel(ctx.settings.changeIndexStyle, i), 1, ry);
    cad.CadText(c.changeDate, 9, ry);
    cad.CadText(c.responsible, 26, ry);
    cad.CadText(c.changeText, 41, ry);
    cad.CadText(d, 71, ry);
  }
}

void DrawTitleBlock(const SheetFrameContext& ctx, int format, const std::string& name,
                    const std::string& name2, const std::string& number) {
  CadOutput& cad = ctx.cad;
  const Settings& s = ctx.settings;
  const int form = s.titleBlockForm;
  const bool a3 = format == kSheetA3;
  Real ox = 0, oy = 5;
  if (IsoWide(s)) {
    ox = a3 ? 230 : 20;
    oy = 10;
  } else if (a3) {
    ox = Iso(form) ? 235 : 227.6L;
  } else {
    ox = Iso(form) ? 25 : 17.9L;
  }
  cad.CadOffset(ox, oy);
  auto insert = [&](const char* name, Real x, Real y, Real sx, Real sy) {
    cad.CadInsertAt(name, x, y, 0, sx, sy);
  };
  switch (form) {
    case kIsoFig1: IsoFig1(ctx, name, name2, number); break;
    case kDin6771Min: Din(ctx, false, name, name2, number); break;
    case kDin6771: Din(ctx, true, name, name2, number); break;
    default: IsoFig2(ctx, name, name2, number); break;
  }
  // Logo: the user's block on the screen and the plot hand-off, else the owner's name.
  if (!s.drawingOptionsOff[3]) {
    if (BlockFileExists(cad, "logo_1") && PageWithLogos(cad)) {
      cad.CadLayer(5);
      if (form == kIsoFig1)
        insert("logo_1", 2, 4, 0.7L, 0.9L);
      else if (form == kIsoFig2)
        insert("logo_1", 3, 4, 1.75L, 1.75L);
      else
        insert("logo_1", 57, 5, 1, 1);
    } else if (Iso(form) && !ctx.ownerName.empty()) {
      cad.CadLayer(4);
      if (form == kIsoFig1)
        cad.CadFitTextStyle(0, ctx.ownerName, 0, 11, 8, 29);
      else
        cad.CadFitTextStyle(0, ctx.ownerName, 0, 19, 14, 72);
      cad.CadText(ctx.ownerName, 1.5L, 4);
    }
  }
  if (s.useHeadBlocks && PageWithLogos(cad)) {
    Real y = form == kDin6771Min ? 38.25L : form == kDin6771 ? 55.25L : form == kIsoFig1 ? 27 : 36;
    if (Iso(form) && s.showChanges && ctx.project.changeCount > 0)
      y += (std::min<int>(8, ctx.project.changeCount) + 1) * 3.5L;
    if (BlockFileExists(cad, "head_0")) insert("head_0", 0, y, 1, 1);
    const char* own = a3 ? "head_3" : "head_4";
    if (BlockFileExists(cad, own)) insert(own, 0, y, 1, 1);
  }
  if (s.useInsertBlocks && PageWithLogos(cad)) {
    if (BlockFileExists(cad, "insert_0")) insert("insert_0", 0, 0, 1, 1);
    const char* own = a3 ? "insert_3" : "insert_4";
    if (BlockFileExists(cad, own)) insert(own, 0, 0, 1, 1);
  }
  cad.CadOffset(0, 0);
}

void DrawProtectiveNotice(const SheetFrameContext& ctx, int format) {
  const Settings& s = ctx.settings;
  if (s.rightsNoteOff || (format != kSheetA3 && format != kSheetA4)) return;
  CadOutput& cad = ctx.cad;
  cad.CadLayer(3);
  cad.CadTextStyle(2, 90, 1.8L, 1.5L);
  Real c = IsoWide(s) ? (s.frameMarkingOff ? 4 : 3) : (format == kSheetA3 ? 3 : 4);
  static const char* const english[] = {
      "Copying of this document and giving it to other and the use",
      "or communication of the contents therof, are forbidden with-",
      "out express authority. Offenders are liable to the payment",
      "of damages. All rights are reserved in the event of the grant",
      "of a patent or the registration of a utility model or design."};
  static const char* const german[] = {
      "Weitergabe sowie Vervielf\x84ltigung dieser Unterlage, Ver-",
      "wertung und Mitteilung ihres Inhalts nicht gestattet, soweit",
      "nicht ausdr\x81" "cklich zugestanden. Zuwiderhandlungen verpflich-",
      "ten zu Schadensersatz. Alle Rechte f\x81r den Fall der Patent-",
      "erteilung oder Gebrauchsmuster-Eintragung vorbehalten."};
  for (int i = 0; i < 5; ++i) cad.CadText(english[i], c + 2.7L * i, 10);
  for (int i = 0; i < 5; ++i) cad.CadText(german[i], c + 2.7L * i, 190);
}

void DrawZoneFrame(const SheetFrameContext& ctx, int columns, int rows, Real left, Real bottom,
                   Real right, Real top, Real strip) {
  CadOutput& cad = ctx.cad;
  const Settings& s = ctx.settings;
  cad.CadLayer(3);
  if (!s.frameMarkingOff && columns > 0 && rows > 0) {
    cad.CadRect(left - strip, bottom - strip, right + strip, top + strip);
    Real q = (right - left) / columns, r = (top - bottom) / rows;
    cad.CadTextStyle(2, 0, strip / 2, 0.75L * strip / 2);
    for (int i = 0; i <= columns; ++i) {
      Real x = left + i * q;
      cad.CadVLine(x, top, strip);
      cad.CadVLine(x, bottom, -strip);
      if (i < columns) {
        cad.CadText(std::to_string(i + 1), x + q / 2, top + 0.25L * strip);
        cad.CadText(std::to_string(i + 1), x + q / 2, bottom - 0.75L * strip);
      }
    }
    for (int j = 0; j <= rows; ++j) {
      Real y = bottom + j * r;
      cad.CadHLine(left, y, -strip);
      cad.CadHLine(right, y, strip);
      if (j < rows) {
        std::string letter(1, static_cast<char>(65 + j));
        cad.CadText(letter, left - 0.75L * strip, y + r / 2);
        cad.CadText(letter, right + 0.25L * strip, y + r / 2);
      }
    }
  }
  if (!s.frameScaleOff) {
    auto tick = [](long g) { return g % 10 == 0 ? 3.0L : g % 10 == 5 ? 2.25L : 1.5L; };
    cad.CadTextStyle(2, 0, 1.5L, 1.125L);
    long gx = std::lround(static_cast<double>(right - left));
    for (long g = 0; g <= gx; ++g) {
      cad.CadVLine(left + g, top + strip, tick(g));
      if (g % 10 == 0) {
        std::string t = std::to_string(g);
        cad.CadText(t, left + g - 0.5625L * t.size(), top + strip + 3.6L);
      }
    }
    cad.CadTextStyle(2, 90, 1.5L, 1.125L);
    long gy = std::lround(static_cast<double>(top - bottom));
    for (long h = 0; h <= gy; ++h) {
      cad.CadHLine(right + strip, bottom + h, tick(h));
      if (h % 10 == 0) {
        std::string t = std::to_string(h);
        cad.CadText(t, right + strip + 4.8L, bottom + h - 0.5625L * t.size());
      }
    }
  }
}

void DrawSheetFrame(const SheetFrameContext& ctx, int format, std::string name, std::string name2,
                    std::string number) {
  CadOutput& cad = ctx.cad;
  const Settings& s = ctx.settings;
  const CamProject& p = ctx.project;
  for (std::string* t : {&name, &name2, &number})
    if (Trimmed(*t) == "/") t->clear();
  cad.environment().drawingKind = format == kSheetA3 ? 3 : 2;
  if (s.drawingOptionsOff[5]) return;
  const bool a3 = format == kSheetA3;
  cad.CadLayer(5);
  if (IsoWide(s))
    cad.CadRect(20, 10, a3 ? 410 : 200, 287);
  else if (a3)
    cad.CadRect(15, 5, 415, 292);
  else
    cad.CadRect(17.9L, 5, 205.1L, 292);
  cad.CadLayer(3);
  cad.CadRect(0, 0, a3 ? 420 : 210, 297);
  DrawTitleBlock(ctx, format, name, name2, number);
  DrawProtectiveNotice(ctx, format);
  const DrawingInfo& in = p.info;
  int mode = in.textSheetMode;
  bool fits = a3 ? (mode == 1 || mode == 2) : (mode == 0 || mode == 2);
  if (in.textCount > 0 && fits) {
    int n = std::min<int>(in.textCount, kMaxDrawingTexts);
    for (int i = 1; i <= n; ++i) {
      const DrawingText& t = in.texts[static_cast<size_t>(i)];
      // A text thrown to 1e308 has no place on any sheet, and its numbers
      // would reach the file as nan or inf.
      auto sane = [](Real v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; };
      if (!(sane(t.x) && sane(t.y) && sane(t.h) && sane(t.angle))) continue;
      if (t.h > 0) cad.CadTextStyle(2, t.angle, t.h, 0.8L * t.h);
      cad.CadText(t.text, t.x, t.y);
    }
  }
  if (IsoWide(s)) {
    if (a3)
      DrawZoneFrame(ctx, 8, 6, 20, 10, 410, 287, 4);
    else
      DrawZoneFrame(ctx, 4, 6, 20, 10, 200, 287, 4);
  }
  cad.CadLayer(3);
  cad.CadTextStyle(2, 0, 1.5L, 1.2L);
  const std::string& path = cad.environment().projectPath;
  if (!s.drawingOptionsOff[1] && !path.empty()) cad.CadText(ShortenText(path, 150), 20, 1);
  if (!s.drawingOptionsOff[2]) {
    const Clock* c = cad.environment().clock;
    DateTime t = c ? c->now() : DateTime{};
    char hm[16];
    std::snprintf(hm, sizeof hm, "%d:%02d", t.hour, t.minute);
    cad.CadText(FormatDate(s.numbers, t.year, t.month, t.day) + " " + hm, a3 ? 395 : 186, 1);
  }
  cad.CadTextStyle(2, 0, 3.5L, 3);
  cad.CadLayer(5);
  if (!s.drawingOptionsOff[0])
    cad.CadText(std::string("QUORTEX   ") + kProductName + "  V" + kProgramVersion, 1, 300);
}

}  // namespace kamo
