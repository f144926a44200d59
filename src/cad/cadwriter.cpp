// The choice of the file writer by output kind, and the safe file write they share.
#include "cad/cadwriter.h"

#include "cad/cad.h"
#include "cad/cadstl.h"
#include "cad/cadstp.h"
#include "cad/iges.h"
#include "core/textfile.h"

namespace kamo {

bool CadWriterAvailable(int kind) { return kind == kCadStl || kind == kCadStep || kind == kCadIges; }

std::unique_ptr<CadWriter> MakeCadWriter(int kind, CadWriterContext ctx) {
  switch (kind) {
    case kCadStl: return std::make_unique<StlWriter>(std::move(ctx));
    case kCadStep: return std::make_unique<StepWriter>(std::move(ctx));
    case kCadIges: return std::make_unique<IgesWriter>(std::move(ctx));
    default: return nullptr;
  }
}

bool WriteCadFile(Ui& ui, const std::string& path, std::string_view bytes) {
  if (path.empty()) {
    ui.showError("invalid File name");
    ui.flags().abortFlag = true;
    return false;
  }
  TextFileWriter w(ui);
  w.protect(&ui.state().keepFiles);
  if (!w.create(path)) return false;
  w.write(bytes);
  return w.close();
}

}  // namespace kamo
