// Projects for the file tests: the bundled examples (built here, so the files
// in examples/ are what this code writes), a fixed project for the golden
// file and a randomly filled one that uses every list to its capacity.
#pragma once
#include <string>
#include <vector>

#include "cam/model.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "support/scripted_port.h"

namespace kamo::test {

struct ExampleProject {
  std::string fileName;  // in examples/
  CamProject project;
};

std::vector<ExampleProject> ExampleProjects();
CamProject GoldenProject();
// The curve type is 1 + seed % 11.
CamProject RandomProject(unsigned seed);

// Every input field of the two projects agrees up to the decimals the file
// writes; returns the first difference ("" when none).
std::string CompareInputs(const CamProject& a, const CamProject& b);

// A UI on the scripted port with default settings.
struct Env {
  ScriptedPort port;
  Flags flags;
  UiState state;
  Settings settings;
  Ui ui{port, flags, state, settings.numbers};
};

// The lines of a file's bytes, without their line ends.
std::vector<std::string> Lines(const std::string& bytes);

}  // namespace kamo::test
