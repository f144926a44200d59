// The PDF, SVG and PNG pictures of a display list, painted with the replay.
#pragma once
#include <QImage>
#include <string>

#include "display/picture.h"

namespace kamo {

// The bytes of the picture as a PDF, SVG or PNG file; false with the reason
// in error. The caller writes them (an OutputFile), so no painter ever writes
// into a target directly.
bool EncodePdf(const DisplayList& list, const PictureOptions& options, std::string& bytes,
               std::string& error);
bool EncodeSvg(const DisplayList& list, const PictureOptions& options, std::string& bytes,
               std::string& error);
bool EncodePng(const DisplayList& list, const PictureOptions& options, std::string& bytes,
               std::string& error);
// The page as an image (what EncodePng encodes).
QImage RenderPicture(const DisplayList& list, const PictureOptions& options);

// A frame of an animation as an image: the world rectangle of the options
// fills width × height pixels.
QImage RenderFrame(const DisplayList& list, const FrameOptions& options);

// Registers "pdf", "svg" and "png", and the frame writers "gif" and "png".
void RegisterPictureExporters(PictureExporters& registry);

}  // namespace kamo
