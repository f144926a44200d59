// Edit > "Bewegungsprogramm…": a cam from a motion programme typed as rows
// of law, angle span and lift, free of any toolkit. The form goes through the
// UI port; "OK" writes the formula segments of curve type 1.
#pragma once
#include <string>
#include <vector>

#include "cam/motionprog.h"
#include "core/forms.h"

namespace kamo {

class Session;

// The programme the dialog starts from: the one last confirmed, else a
// rise-dwell-return-dwell of 20 mm on the base circle 40 mm.
MotionProgramme DefaultMotionProgramme();

class MotionEditor : public MotionLogic {
 public:
  // last: the programme the dialog opens with; OK stores the confirmed one there.
  MotionEditor(Session& s, MotionProgramme& last);
  MotionForm form() override;
  MotionPreview preview(const std::string& base, const std::vector<MotionRow>& rows) override;
  std::string confirm(const std::string& base, const std::vector<MotionRow>& rows) override;

 private:
  MotionError read(const std::string& base, const std::vector<MotionRow>& rows, MotionProgramme& prog,
                   bool& complete) const;
  Session& s_;
  MotionProgramme& last_;
};

// The whole dialog; true when the project got the programme's segments
// (the command then calculates), false with abortFlag set when cancelled.
bool EditMotionProgramme(Session& s, MotionProgramme& last);

}  // namespace kamo
