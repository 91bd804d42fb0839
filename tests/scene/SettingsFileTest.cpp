#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "TestSupport.h"
#include "field/DeferredRows.h"
#include "field/VariableRows.h"
#include "scene/ProgramOptions.h"
#include "scene/SettingsFile.h"

using namespace corvane;

namespace {

// The assignments as "control=value" joined by spaces.
std::string Assigned(const SettingsFileResult& r) {
  std::string text;
  for (const ControlAssignment& a : r.assignments) text += (text.empty() ? "" : " ") + a.control + "=" + a.value;
  return text;
}

}  // namespace

TEST(SettingsFile, ReadsKeywordsAndValueLinesInFileOrderIgnoringCaseAndOuterBlanks) {
  SettingsFileResult r = ParseSettingsText(
      "settings for wind-tunnel runs\r\nwith opengl\r\nWHITE BACKGROUND\r\nZONE COUNT\r\n4\r\n"
      "FIX LINE COLOR\r\n255\r\nPICTURE HEIGHT\r\n+480\r\nY CENTER\r\n  2.\r\nY SCALE\r\n.25\r\n");
  EXPECT_TRUE(r.complete) << r.stopReason;
  EXPECT_EQ(Assigned(r),
            "UseOpenGL=1 WhiteBack=1 ZCountBox=4 FixLineColor=1 Shape1=255 TViewForm.Height=480 y0box=2. yscalebox=.25");
  EXPECT_EQ(r.assignments[2].line, 4);
  // Keywords ignore case and outer blanks but not inner ones.
  r = ParseSettingsText("\t  show grid \t\rSHOW  GRID\rNo Vector\r\xEF\xBB\xBFNO LABEL\r"
                        "# comment\n\nshow grid x\n");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(Assigned(r), "ShowGrid=1 ShowVec=0");
  // A mark of UTF-8 before the first line does not hide its keyword.
  EXPECT_EQ(Assigned(ParseSettingsText("\xEF\xBB\xBFSHOW XY AXIS\r\n")), "ShowXYLabel=1");
}

TEST(SettingsFile, BadValueStopsReadingAndKeepsWhatCameBefore) {
  // A CP932 comment ("設定") is ignored; as a bad value it is quoted readably.
  SettingsFileResult r = ParseSettingsText("\x90\xdd\x92\xe8\nSHOW GRID\nZONE COUNT\n\x90\xdd\x92\xe8\nNO GRID\n");
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(Assigned(r), "ShowGrid=1");
  EXPECT_NE(r.stopReason.find("4 行目: ZONE COUNT の値 \"設定\""), std::string::npos) << r.stopReason;

  for (const char* bad : {"ZONE COUNT\n1.5\n", "ZONE COUNT\n99999999999\n", "ZONE COUNT\n+-3\n", "X SCALE\nnan\n",
                          "X SCALE\n1e400\n", "X SCALE\ninf\n", "X SCALE\n1,5\n", "LABEL COLOR\n-1\n",
                          "Y SCALE\n\n", "ZONE COUNT\n"}) {
    SettingsFileResult b = ParseSettingsText(std::string("WHITE BACKGROUND\n") + bad + "NO GRID\n");
    EXPECT_FALSE(b.complete) << bad;
    EXPECT_EQ(Assigned(b), "WhiteBack=1") << bad;
  }
  // A value keyword on the last line has nothing to read.
  EXPECT_FALSE(ParseSettingsText("NO GRID\nZONE COUNT").complete);
  // The fixed-colour box is set before its colour line fails.
  SettingsFileResult fix = ParseSettingsText("FIX LINE COLOR\nred\n");
  EXPECT_FALSE(fix.complete);
  EXPECT_EQ(Assigned(fix), "FixLineColor=1");
}

TEST(SettingsFile, FigureKeywordsSetTheirControlsAndTheTableKnowsEveryName) {
  SettingsFileResult r = ParseSettingsText(
      "VIRIDIS COLOR\nCOOLWARM COLOR\nCIVIDIS COLOR\nSMOOTH DRAWING\nSHOW COLOR BAR\nROUND LEVELS\nMERGE BANDS\n"
      "PLAIN DRAWING\nNO COLOR BAR\nEXACT LEVELS\nTRIANGLE BANDS\n");
  EXPECT_EQ(Assigned(r),
            "ViridisMap=1 CoolWarmMap=1 CividisMap=1 SmoothCheck=1 ColourBarCheck=1 RoundLevelsCheck=1 MergeBandsCheck=1 "
            "SmoothCheck=0 ColourBarCheck=0 RoundLevelsCheck=0 MergeBandsCheck=0");
  ProgramOptions o;
  for (const ControlAssignment& a : r.assignments) ProgramOptionTable().Apply(o, a.control, a.value);
  EXPECT_EQ(o.contour.colourMap, ColourMapKind::Cividis);
  EXPECT_FALSE(o.display.SmoothCheck || o.display.ColourBarCheck || o.load.RoundLevelsCheck || o.display.MergeBandsCheck);
}

// A settings path that is no file to read is refused with the program's error; a missing file
// only leaves the defaults.
TEST(SettingsFile, FoldersEndlessDevicesAndHugeFilesAreRefused) {
  QTemporaryDir dir;
  const std::string huge = dir.filePath("huge.ini").toStdString();
  std::ofstream(huge) << std::string((1 << 20) + 1, '\n');
  const std::pair<std::string, const char*> cases[] = {
      {dir.path().toStdString(), "フォルダ"}, {"/dev/zero", "装置"}, {huge, "大きすぎます"}};
  for (const auto& [path, reason] : cases) {
    const std::string text = corvane::testing::ErrorText([&] { ReadSettingsFile(path); });
    EXPECT_NE(text.find("設定ファイル " + path), std::string::npos) << text;
    EXPECT_NE(text.find(reason), std::string::npos) << text;
  }
  EXPECT_TRUE(ReadSettingsFile("/dev/null").complete);
  EXPECT_FALSE(ReadSettingsFile(dir.filePath("missing.ini").toStdString()).complete);
}

// A load adds vorticity and speed, then the formulas of the options, and a reload with the same
// options has them again; the settings file's FORMULA line and --set Formula append to them.
TEST(FormulaVariables, LoadsKeepTheFormulasOfTheOptions) {
  QTemporaryDir dir;
  const QString path = dir.filePath("flow.dat");
  ASSERT_TRUE(corvane::testing::WriteFile(path, "flow\n\n1 1\nx y U V T P\n0 0 1 0 300 100\n0 1 2 0 300 200\n"
                                       "1 0 1 3 300 300\n1 1 2 3 300 400\n"));
  SettingsFileResult settings = ParseSettingsText("FORMULA\n  Cp = (P - 100) / 100  \nformula\nq = Cp * 2\n");
  ASSERT_TRUE(settings.complete) << settings.stopReason;
  LoadOptions o;
  o.ZCountBox = 1, o.LabelLineBox = 3, o.DataStartLineBox = 4;
  o.IncludeVelCheck = true;
  for (const ControlAssignment& a : settings.assignments) LoadOptionTable().Apply(o, a.control, a.value);
  LoadOptionTable().Apply(o, "Formula", "bad = P +");
  ASSERT_EQ(o.formulas.size(), 3u);
  EXPECT_EQ(o.formulas[0], "Cp = (P - 100) / 100");
  for (int load = 0; load < 2; ++load) {
    corvane::testing::LoadedFile f(path.toStdString(), o);
    ASSERT_TRUE(f.result);
    EXPECT_EQ(RGroupItemsOf(f.d(), true),
              (std::vector<std::string>{"U", "V", "T", "P", "Cp", "q", "マッハ数", "全圧", "渦度", "速さ"}));
    ASSERT_EQ(f.notifier.warnings.size(), 1u);
    EXPECT_NE(f.notifier.warnings[0].find("bad"), std::string::npos);
    EXPECT_DOUBLE_EQ(f.At(5, 0, 1, 1), 6.0);                 // q = 2 (400 - 100) / 100
    EXPECT_TRUE(RowPending(f.d(), VorticityRow(f.d())));  // computed when first used
    EnsureRowValues(f.result->data, VorticityRow(f.d()));
    EXPECT_DOUBLE_EQ(f.At(VorticityRow(f.d()), 0, 0, 0), 2.0);  // v = 3x, u = 1 + y
    EXPECT_DOUBLE_EQ(f.result->view.ContourMax[4], 3.0);
  }
  LoadOptionTable().Apply(o, "Formula", "");
  EXPECT_TRUE(o.formulas.empty());
}
