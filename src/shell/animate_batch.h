// The batch job "--animate N --format gif|png": one turn of the cam in N
// frames, the same frames as the window's animation, painted offscreen. GIF:
// one animated file (800 × 800 pixels unless --size WxH; 40 ms a frame, or
// one turn in 60/n s with --real-time). PNG: the numbered pictures
// <stem>_0001.png ... in a new folder (-o, default <stem>_frames), written
// whole into a temporary folder beside it and then renamed.
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// Empty when the frame count, format and size are well formed, else the usage error.
std::string AnimateBatchUsageError(const Session& session, const CommandLine& cl);

// Writes the frames of the project already read and calculated; the exit code.
int RunAnimateBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                    std::ostream& err);

// The delay of a frame in hundredths of a second: 4 (40 ms), or with
// realTime one turn in 60/speed s spread over the frames; at least 2.
int AnimationFrameDelay(bool realTime, double speed, int frames);

}  // namespace kamo
