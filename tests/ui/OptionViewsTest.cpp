// The controls of the main window as views of the program options, tab by tab: after the settings
// file and --set each control shows the state, and an edit of the control writes the state.

#include <set>
#include <vector>

#include "MainWindowTestSupport.h"
#include "base/Errors.h"
#include "scene/ProgramOptions.h"
#include "ui/OptionControls.h"

namespace corvane {
namespace {

using testing::Control;
using testing::StartedProgram;

// The same text, or the same number written another way ("-2" and "-2.0").
bool SameValue(const std::string& a, const std::string& b) {
  if (a == b) return true;
  try {
    return ParseDoubleValue("", a) == ParseDoubleValue("", b);
  } catch (const CorvaneError&) {
    return false;
  }
}

// What the state says control `name` shows: the word its number box holds, or the option.
std::string StateText(MainWindow& m, const std::string& name) {
  auto word = m.state.wordsInNumberBoxes.find(name);
  return word != m.state.wordsInNumberBoxes.end() ? word->second : ProgramOptionTable().Get(m.Options(), name);
}

void ExpectShowsState(MainWindow& m, const std::string& name) {
  QWidget* w = Control<QWidget>(m, name.c_str());
  const std::optional<std::string> shown = OptionControls::ValueOf(w);
  ASSERT_TRUE(shown) << name;
  EXPECT_TRUE(SameValue(*shown, StateText(m, name))) << name << " shows " << *shown << ", the state " << StateText(m, name);
}

struct Row {
  const char* name;
  const char* given;   // by --set
  const char* edited;  // typed or chosen in the control afterwards; null: not edited
};

struct TabCase {
  const char* tab;
  const char* settings;  // crv.ini
  const char* fromSettings;  // a control the settings file sets, with its value
  const char* settingsValue;
  std::vector<Row> rows;
};

void PrintTo(const TabCase& c, std::ostream* os) { *os << c.tab; }

// Every name the command line takes is taken by the window, and its control shows the state.
TEST(OptionViews, EveryOptionNameIsTakenAndShown) {
  StartedProgram p;
  MainWindow& m = p.main();
  // Each name gets the first of these values its kind reads.
  const char* const candidates[] = {"1", "0.5", "x", "#102030", "0,0,1,1"};
  for (const std::string& name : ProgramOptionTable().Names()) {
    bool taken = false;
    for (const char* value : candidates) {
      try {
        ProgramOptions check;
        ProgramOptionTable().Apply(check, name, value);
      } catch (const CorvaneError&) {
        continue;
      }
      try {
        taken = m.settings().ApplyControlValue(name, value);
      } catch (const CorvaneError& e) {
        ADD_FAILURE() << name << "=" << value << ": " << e.what();
      }
      break;
    }
    EXPECT_TRUE(taken) << name;
    // Lists wait for the data that fills them; the range and view boxes show other state.
    static const std::set<std::string> elsewhere = {"MinBox", "MaxBox", "StepBox", "x0box", "y0box", "xscalebox", "yscalebox"};
    QWidget* w = m.findChild<QWidget*>(QString::fromStdString(name));
    if (w && ChoiceCount(w) < 0 && OptionControls::ValueOf(w) && !elsewhere.count(name)) ExpectShowsState(m, name);
  }
}

class OptionViews : public ::testing::TestWithParam<TabCase> {};

TEST_P(OptionViews, ControlsShowTheStateAndEditsWriteIt) {
  const TabCase& c = GetParam();
  StartedProgram p(c.settings);
  MainWindow& m = p.main();
  EXPECT_TRUE(SameValue(ProgramOptionTable().Get(m.Options(), c.fromSettings), c.settingsValue)) << c.fromSettings;
  ExpectShowsState(m, c.fromSettings);
  for (const Row& r : c.rows) {
    ASSERT_TRUE(m.settings().ApplyControlValue(r.name, r.given)) << r.name;
    EXPECT_TRUE(SameValue(StateText(m, r.name), r.given)) << r.name;
    ExpectShowsState(m, r.name);
  }
  for (const Row& r : c.rows) {
    if (!r.edited) continue;
    ASSERT_TRUE(SetControlAsUser(Control<QWidget>(m, r.name), r.edited)) << r.name;
    EXPECT_TRUE(SameValue(StateText(m, r.name), r.edited)) << r.name << ": " << StateText(m, r.name);
  }
  EXPECT_TRUE(p.messages.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, OptionViews,
    ::testing::Values(
        TabCase{"Main", "SHOW GRID\nWHITE BACKGROUND\n", "WhiteBack", "1",
                {{"ShowContour", "0", "1"}, {"VecScaleBox", "abc", "2.5"}, {"UseOpenGL", "1", "0"}, {"GridForward", "0", "1"}}},
        TabCase{"Contour", "NO LABEL\nLABEL CLEAR BACK\n", "BackClear", "1",
                {{"LabelSukima", "40", "55"}, {"AutoMaxMinCheck", "0", "1"}, {"LabelMax", "80", "90"}, {"StepBar", "20", "30"}}},
        TabCase{"Data", "ZONE COUNT\n7\nCOMMA SEPARATE\n", "ZCountBox", "7",
                {{"gammaBox", "1.3", "1.25"}, {"XYNumLineBox", "4", "3"}, {"DataJI", "1", nullptr}, {"RBox", "287", "word"}}},
        TabCase{"Colour", "GRAY COLOR1\nFIX LINE COLOR\n65280\n", "GrayMap1", "1",
                {{"ContLineWid", "3", "5"}, {"FixLineColor", "1", "0"}, {"ColorMap2", "1", "1"}, {"Shape1", "255", "16711680"}}},
        TabCase{"Axes", "SHOW XY AXIS\n", "ShowXYLabel", "1",
                {{"XTitleBox", "t [s]", "u"}, {"DigitsBox", "7", "9"}, {"ShowFixCheck", "1", nullptr}}},
        TabCase{"Display", "SMOOTH DRAWING\n", "SmoothCheck", "1",
                {{"writetimes", "2", "4"}, {"xoffsetbox", "1.5", "-2"}, {"ICompress2", "3", "5"}, {"showjmax", "0", "1"}}},
        TabCase{"Stream", "STREAMLINE WIDTH\n4\nSTREAMLINE COLOR\n65280\n", "StreamLineWid", "4",
                {{"StreamOverbox", "-3", "5"}, {"StreamDevide", "30", "40"}, {"StreamXb", "2.5", "3"}, {"StreamLineSegment", "1", "0"}}},
        TabCase{"Analysis", "NO GRID\n", "ShowGrid", "0",
                {{"P1Direct", "1", "0"}, {"P1x", "2.5", "word"}, {"OpenAnalyzed", "0", "1"}, {"SegmentColor", "65280", "255"}}}),
    [](const ::testing::TestParamInfo<TabCase>& tab) { return std::string(tab.param.tab); });

}  // namespace
}  // namespace corvane
