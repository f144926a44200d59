// Edit > "Prüfdaten" without a display: defaults, refusals with a box, the
// exact values of untouched fields, and the command with its calculation.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "shell/checkinput.h"
#include "shell/commands.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

class FieldsPort : public test::ScriptedPort {
 public:
  std::deque<std::function<bool(FieldsLogic&)>> forms;
  bool fieldsDialog(FieldsLogic& l) override {
    if (forms.empty()) {
      ADD_FAILURE() << "unscripted dialog";
      return false;
    }
    auto f = forms.front();
    forms.pop_front();
    return f(l);
  }
};

TEST(CheckDataDialog, FormDefaultsAndExactValues) {
  FieldsPort port;
  Session s(port);
  s.project().checkData.preload = 1.0L / 3;  // shown rounded
  CheckDataEditor e(s);
  FieldsForm f = e.form();
  EXPECT_EQ(f.objectName, "TForm_kamopruef");
  EXPECT_EQ(f.caption, "Pr\u00FCfdaten");
  std::vector<std::string> names;
  for (const auto& field : f.fields) names.push_back(field.name);
  EXPECT_EQ(names, (std::vector<std::string>{"alpha", "f0", "k", "e1", "nu1", "e2", "nu2"}));
  FieldsValues v = e.fill();
  const char* defaults[] = {"30", "0", "0", "210000", "0.3", "210000", "0.3"};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(e.defaultText(i, v), defaults[i]) << i;
  s.settings.numbers.decimalSeparator = ',';
  EXPECT_EQ(e.defaultText(4, v), "0,3");
  // Untouched fields store the exact model value back.
  v.texts[0] = "25";
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(s.project().checkData.preload, 1.0L / 3);
  EXPECT_EQ(s.project().checkData.alphaLimit, 25);
}

TEST(CheckDataDialog, RefusesWhatTheChecksCannotUse) {
  struct Case {
    size_t field;
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {0, "0", false},    {0, "89.9", true}, {0, "90", false},     {1, "-1", false}, {1, "2500", true},
      {2, "-0.1", false}, {2, "12,5", true}, {3, "0", false},      {3, "70000", true}, {4, "0.5", false},
      {4, "0", true},     {5, "-3", false},  {6, "0.499", true},   {6, "abc", false}, {0, "", false},
  };
  for (const Case& c : cases) {
    FieldsPort port;
    Session s(port);
    CheckDataEditor e(s);
    FieldsValues v = e.fill();
    v.texts[c.field] = c.text;
    const CheckInputs before = s.project().checkData;
    EXPECT_EQ(e.store(v), c.accepted) << c.field << " " << c.text;
    EXPECT_EQ(port.boxes.size(), c.accepted ? 0u : 1u) << c.field << " " << c.text;
    if (!c.accepted) {
      EXPECT_EQ(s.project().checkData.alphaLimit, before.alphaLimit);
    }
  }
}

TEST(CheckDataDialog, CommandStoresRecalculatesAndMarksModified) {
  FieldsPort port;
  Session s(port);
  Shell shell(s);
  CamProject& p = s.project();
  p.curveType = ctEccentric;
  p.ram = {2, 20, 100, 0.1L};
  p.calc.steps = 360;
  port.forms.push_back([](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "5";
    return l.store(v);
  });
  shell.run(Command::EditCheckData);
  EXPECT_FALSE(s.flags.abortFlag);
  EXPECT_TRUE(s.flags.modified);
  EXPECT_EQ(p.checkData.alphaLimit, 5);
  ASSERT_TRUE(p.checks.valid);
  EXPECT_FALSE(p.checks.findings.empty());
  // Cancelled: nothing changes.
  s.flags.modified = false;
  port.forms.push_back([](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "45";
    return false;
  });
  shell.run(Command::EditCheckData);
  EXPECT_TRUE(s.flags.abortFlag);
  EXPECT_FALSE(s.flags.modified);
  EXPECT_EQ(p.checkData.alphaLimit, 5);
  EXPECT_EQ(SpecOf(Command::EditCheckData).objectName, std::string("mi_editPruefdaten"));
  EXPECT_EQ(SpecOf(Command::ViewCheck).objectName, std::string("mi_viewPruefung"));
}

}  // namespace
}  // namespace kamo
