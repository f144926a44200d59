// What a CAD output needs around it in tests: scripted UI, settings, messages,
// a fixed clock, a display list for the screen kind and a folder of its own.
#pragma once
#include <string>

#include "cad/cad.h"
#include "core/clock.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "display/displaylist.h"
#include "support/scripted_port.h"

namespace kamo::test {

struct CadSurroundings {
  ScriptedPort port;
  Settings settings;
  MessageList messages;
  Flags flags;
  UiState state;
  Ui ui{port, flags, state, settings.numbers};
  FixedClock clock;
  DisplayList display;
  TempFolder temp;

  explicit CadSurroundings(DateTime now = DateTime{2026, 12, 10, 9, 30, 0}) : clock(now) {}

  // A batch run writes temp/out.<extension>; withDisplay lets the screen kind record.
  CadEnvironment environment(bool batch = true, bool withDisplay = true) {
    CadEnvironment env;
    env.ui = &ui;
    env.settings = &settings;
    env.messages = &messages;
    env.flags = &flags;
    env.clock = &clock;
    env.display = withDisplay ? &display : nullptr;
    env.tempDir = temp.path();
    env.batch = batch;
    env.batchFile = temp.file("out");
    env.projectStem = "out";
    return env;
  }
};

}  // namespace kamo::test
