// The --animate batch job.
#include "shell/animate_batch.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cad/cad.h"
#include "cad/formats.h"
#include "core/outputfile.h"
#include "display/displaylist.h"
#include "display/picture.h"
#include "graphics/animation.h"
#include "graphics/follower.h"
#include "shell/cad_batch.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

bool ParseWhole(const std::string& s, int& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

constexpr int kMinSide = 16, kMaxSide = 4096;

// "WxH" with both sides in range.
bool ParseSize(const std::string& s, int& w, int& h) {
  size_t x = s.find_first_of("xX");
  if (x == std::string::npos) return false;
  return ParseWhole(s.substr(0, x), w) && ParseWhole(s.substr(x + 1), h) && w >= kMinSide && w <= kMaxSide &&
         h >= kMinSide && h <= kMaxSide;
}

CadEnvironment Environment(Session& s, DisplayList* display) {
  CadEnvironment env = BatchCadEnvironment(s, std::string());
  env.display = display;
  return env;
}

std::string Stem(const Session& s) { return s.file.fileName.empty() ? std::string("kamo") : s.file.fileName; }

// The folder of the PNG frames: -o (relative to workDir), else <stem>_frames in workDir.
std::string FramesFolder(const Session& s, const CommandLine& cl, const std::string& workDir) {
  std::string dir = cl.output.empty() ? Stem(s) + "_frames" : cl.output;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  fs::path p(dir);
  if (p.is_relative() && !workDir.empty()) p = fs::path(workDir) / p;
  return p.lexically_normal().string();
}

std::string FrameName(const std::string& stem, int k) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "_%04d.png", k);
  return stem + digits;
}

void RemoveFolder(const std::string& dir) {
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// The world rectangle of the frames: the window of the drawing (±0.8 times
// the contour's larger size), widened to the right end of the follower and
// its guides at the largest stroke, and to the frame's proportions.
void FrameWorld(const CamProject& p, int width, int height, FrameOptions& fo) {
  const CamResults& r = p.results;
  const Real m = 0.8L * std::max(r.xSize, r.ySize);
  const Real l = FollowerAsDrawn(p).l;
  const Real guides = std::max(r.rMax + 0.05L * (r.rMax - r.rMin) + l - 1.1L * r.stroke,
                               r.rMax + 1.25L * (r.rMax - r.rMin));
  Real x0 = -m, x1 = std::max({m, guides, r.sMax + l}) + 0.05L * m, y0 = -m, y1 = m;
  const Real aspect = static_cast<Real>(width) / height;
  if ((x1 - x0) / (y1 - y0) > aspect) {
    Real half = (x1 - x0) / aspect / 2;
    y0 = -half;
    y1 = half;
  } else {
    Real grow = (y1 - y0) * aspect - (x1 - x0);
    x0 -= grow / 2;
    x1 += grow / 2;
  }
  fo.x0 = x0;
  fo.y0 = y0;
  fo.x1 = x1;
  fo.y1 = y1;
}

}  // namespace

int AnimationFrameDelay(bool realTime, double speed, int frames) {
  if (!realTime || !(speed > 0) || frames < 1) return 4;
  double ms = 60000.0 / speed / frames;
  if (!(ms < 655350)) return 65535;
  return std::max(2, static_cast<int>(std::lround(ms / 10)));
}

std::string AnimateBatchUsageError(const Session& session, const CommandLine& cl) {
  int n = 0;
  if (!ParseWhole(cl.frames, n) || n < kAnimationMinFrames || n > kAnimationMaxFrames)
    return "--animate " + cl.frames + ": the number of frames per turn must be a whole number " +
           std::to_string(kAnimationMinFrames) + ".." + std::to_string(kAnimationMaxFrames);
  if (cl.format.empty()) return "--animate needs --format " + FormatNames(kJobAnimate, " or ");
  if (!FindFormat(cl.format, kJobAnimate))
    return "--format " + cl.format + ": unknown format for --animate (" + FormatNames(kJobAnimate, ", ") + ")";
  if (!session.pictureExporters.findFrames(cl.format)) return "--format " + cl.format + ": not available yet";
  int w = 0, h = 0;
  if (!cl.size.empty() && !ParseSize(cl.size, w, h))
    return "--size " + cl.size + ": width x height in pixels, each " + std::to_string(kMinSide) + ".." +
           std::to_string(kMaxSide) + " (e.g. 800x800)";
  return {};
}

int RunAnimateBatch(Session& session, const CommandLine& cl, const std::string& workDir, std::ostream& err) {
  std::string usage = AnimateBatchUsageError(session, cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  int n = 0, width = 800, height = 800;
  ParseWhole(cl.frames, n);
  if (!cl.size.empty()) ParseSize(cl.size, width, height);
  if (!BatchResultsReady(session, err)) return kExitFailed;
  CamProject shown = session.project();  // stand-in sizes stay in the frames
  if (shown.basePointCount <= 2) {
    err << "wkamo: the project has no contour to draw\n";
    return kExitFailed;
  }
  if (cl.realTime && !(shown.speed > 0)) {
    err << "wkamo: --real-time: the cam's speed is not above 0 1/min\n";
    return kExitFailed;
  }
  const int delay = AnimationFrameDelay(cl.realTime, static_cast<double>(shown.speed), n);
  const bool gif = cl.format == "gif";

  std::string target, tempDir;
  if (gif) {
    target = BatchTarget(session, cl, workDir, FindFormat(cl.format, kJobAnimate)->extension);
    if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  } else {
    target = FramesFolder(session, cl, workDir);
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0) {
      err << "wkamo: " << target << ": exists already (the frames go into a new folder)\n";
      return kExitFailed;
    }
    std::string pattern = (fs::path(target).parent_path() / ".kamo-frames-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::error_code ec(errno, std::generic_category());
      err << "wkamo: " << target << ": " << ec.message() << "\n";
      return kExitFailed;
    }
    tempDir = pattern;
  }

  FrameOptions fo;
  fo.picture = PictureOptionsFor(session.settings, 0);
  fo.picture.colour = true;
  fo.width = width;
  fo.height = height;
  FrameWorld(shown, width, height, fo);
  std::unique_ptr<FrameWriter> writer;
  const AnimationRun run{n, 1, 0, false};
  session.flags.abortFlag = false;
  const int known = session.messages.count();
  std::string error, bytes;
  auto fail = [&](const std::string& why) {
    if (!tempDir.empty()) RemoveFolder(tempDir);
    err << "wkamo: " << target << ": " << why << "\n";
    return kExitFailed;
  };
  for (int j = 0; j < n; ++j) {
    DisplayList list;
    CadOutput cad(Environment(session, &list));
    SheetOutput out{cad, shown, session.settings, session.messages, session.flags, session.ui, ErrorListContext{}};
    out.errorList.noGui = true;
    AnimationFrame frame = AnimationFrameAt(shown, run, j);
    bool drawn = DrawAnimationFrame(out, frame);
    if (session.flags.abortFlag) {
      if (!tempDir.empty()) RemoveFolder(tempDir);
      CutShort(session, known, target, err);
      return kExitFailed;
    }
    if (!drawn || list.size() == 0) return fail("frame " + std::to_string(frame.k) + " could not be drawn");
    if (!writer) {
      fo.picture.recordResX = list.transform().resX;
      fo.picture.recordResY = list.transform().resY;
      writer = (*session.pictureExporters.findFrames(cl.format))(fo);
    }
    bytes.clear();
    if (!writer->add(list, delay, bytes, error)) return fail(error);
    if (!gif && !WriteOutputFile(tempDir + "/" + FrameName(Stem(session), frame.k), bytes,
                                 &session.uiState.keepFiles, &error))
      return fail(error);
  }
  if (!writer || !writer->finish(bytes, error)) return fail(error.empty() ? "no frame was drawn" : error);
  if (gif) {
    if (bytes.empty()) return fail("the GIF could not be made");
    if (!WriteOutputFile(target, bytes, &session.uiState.keepFiles, &error)) {
      err << "wkamo: " << error << "\n";
      return kExitFailed;
    }
    return kExitOk;
  }
  // The folder appears whole or not at all, and never replaces one.
  if (::renameat2(AT_FDCWD, tempDir.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
    std::error_code ec(errno, std::generic_category());
    return fail(errno == EEXIST ? std::string("exists already (the frames go into a new folder)") : ec.message());
  }
  ::chmod(target.c_str(), 0777 & ~[] {
    mode_t u = ::umask(0);
    ::umask(u);
    return u;
  }());
  return kExitOk;
}

}  // namespace kamo
