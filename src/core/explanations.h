// The error explanation file: for each known message its cause and remedy,
// and the list through which the user reads them after a calculation.
#pragma once
#include <optional>
#include <string>

#include "core/messages.h"

namespace kamo {

class Ui;

struct Explanation {
  std::string cause, remedy;
};

// Finds the entry whose line starts with the same 15 characters as message.
// nullopt when the file is missing or has no such entry.
std::optional<Explanation> LookupExplanation(const std::string& file, const std::string& message);
bool ExplanationFileReadable(const std::string& file);

inline constexpr const char* kNoExplanation = "keine Beschreibung dieser Fehlermeldung vorhanden.";

// Cause and remedy of message i (1-based) for the reports: a missing file gives
// empty texts, a message without entry the "no description" cause.
std::string explanationCause(const std::string& file, const MessageList& list, int i);
std::string explanationRemedy(const std::string& file, const MessageList& list, int i);

// Writes an edited cause and remedy of message back into the explanation file,
// through a copy in tempDir. False (with a box) when nothing was written.
bool SaveExplanation(Ui& ui, const std::string& file, const std::string& tempDir,
                     const std::string& message, const std::string& cause,
                     const std::string& remedy);

struct ErrorListContext {
  std::string explanationFile;  // path of the explanation file
  std::string tempDir;          // where the edited copy is made
  int helpLevel = 1;
  bool noGui = false;           // "/NOGUI" on the command line
};

void showExplanation(Ui& ui, const ErrorListContext& ctx, const MessageList& list, int i);
void showErrorList(Ui& ui, const ErrorListContext& ctx, const MessageList& list);

}  // namespace kamo
