// The PDF, SVG and PNG pictures of a display list, painted with the replay.
#pragma once
#include <QImage>
#include <string>

#include "display/picture.h"

namespace kamo {

bool WritePdf(const DisplayList& list, const PictureOptions& options, const std::string& path,
              std::string& error);
bool WriteSvg(const DisplayList& list, const PictureOptions& options, const std::string& path,
              std::string& error);
bool WritePng(const DisplayList& list, const PictureOptions& options, const std::string& path,
              std::string& error);
// The page as an image (what WritePng writes).
QImage RenderPicture(const DisplayList& list, const PictureOptions& options);

// Registers "pdf", "svg" and "png".
void RegisterPictureExporters(PictureExporters& registry);

}  // namespace kamo
