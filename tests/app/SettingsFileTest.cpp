#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/CommandLine.h"
#include "app/SettingsFile.h"
#include "data/Errors.h"

using namespace corvane;

namespace {

// The assignments as "control=value" joined by spaces.
std::string Assigned(const SettingsFileResult& r) {
  std::string text;
  for (const ControlAssignment& a : r.assignments) text += (text.empty() ? "" : " ") + a.control + "=" + a.value;
  return text;
}

}  // namespace

TEST(SettingsFile, ReadsKeywordsAndValueLinesInFileOrder) {
  SettingsFileResult r = ParseSettingsText(
      "settings for wind-tunnel runs\r\nwith opengl\r\nWHITE BACKGROUND\r\nZONE COUNT\r\n4\r\n"
      "FIX LINE COLOR\r\n255\r\nX SCALE\r\n120.5\r\n");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(Assigned(r), "UseOpenGL=1 WhiteBack=1 ZCountBox=4 FixLineColor=1 Shape1=255 xscalebox=120.5");
  EXPECT_EQ(r.assignments[2].line, 4);
}

TEST(SettingsFile, MapsEveryKindOfKeywordToItsControl) {
  SettingsFileResult r = ParseSettingsText(
      "R&B COLOR\nGRAY COLOR2\nNOT FIX LINE COLOR\nFIX LINE COLOR\n16711680\nLABEL COLOR\n65280\n"
      "STREAMLINE COLOR\n16777216\nDATA J->I\nTAB SEPARATE\nGRIDCOUNT LINE NUMBER\n3\n"
      "DATALABEL LINE NUMBER\n7\nDATA LINE NUMBER\n8\nPICTURE WIDTH\n640\nPICTURE HEIGHT\n+480\n"
      "X CENTER\n-1.5e-3\nY CENTER\n  2.\nY SCALE\n.25\nSTREAMLINE WIDTH\n2\nXY DIFFERENT SCALE\nBRUSH WITH EMF\n");
  EXPECT_TRUE(r.complete) << r.stopReason;
  EXPECT_EQ(Assigned(r),
            "ColorMap2=1 GrayMap2=1 FixLineColor=0 FixLineColor=1 Shape1=16711680 LabelExp=65280 "
            "StreamColShape=16777216 DataJI=1 DataTSV=1 XYNumLineBox=3 LabelLineBox=7 DataStartLineBox=8 "
            "TViewForm.Width=640 TViewForm.Height=480 x0box=-1.5e-3 y0box=2. yscalebox=.25 StreamLineWid=2 "
            "XYSameScale=0 BMPModeCheck=0");
}

TEST(SettingsFile, KeywordsIgnoreCaseAndOuterBlanksButNotInnerOnes) {
  SettingsFileResult r = ParseSettingsText("\t  show grid \t\rSHOW  GRID\rNo Vector\r\xEF\xBB\xBFNO LABEL\r"
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

TEST(SettingsFile, FileValuesReachTheOptionsThroughTheControlTables) {
  EXPECT_FALSE(ReadSettingsFile("/nonexistent/dir/crv.ini").complete);
  QTemporaryDir dir;
  const std::string path = dir.filePath("crv.ini").toStdString();
  CommandArgs args;
  args.settingsPath = path;
  std::ofstream(path, std::ios::binary) << "white background\r\nZONE COUNT\r\n150\r\n";
  ProgramOptions options = BuildOptions(args);
  EXPECT_TRUE(options.display.WhiteBack);
  EXPECT_EQ(options.load.ZCountBox, 100);  // the spin box keeps it within 0..100
  // A bad value fails a command, naming the file, the line and what stood there.
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "ZONE COUNT\nfour\nWHITE BACKGROUND\n";
  try {
    BuildOptions(args);
    ADD_FAILURE() << "a bad settings file was accepted";
  } catch (const CorvaneError& e) {
    EXPECT_NE(std::string(e.what()).find(path + " の 2 行目: ZONE COUNT の値 \"four\""), std::string::npos) << e.what();
  }
}
