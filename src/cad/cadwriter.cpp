// The factories of the file writers in the format table, and the safe file write they share.
#include "cad/cadwriter.h"

#include "cad/formats.h"
#include "cad/cadstl.h"
#include "cad/cadstp.h"
#include "cad/iges.h"
#include "core/textfile.h"

namespace kamo {

std::unique_ptr<CadWriter> MakeIgesWriter(CadWriterContext ctx) {
  return std::make_unique<IgesWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeStlWriter(CadWriterContext ctx) {
  return std::make_unique<StlWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeStepWriter(CadWriterContext ctx) {
  return std::make_unique<StepWriter>(std::move(ctx));
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
