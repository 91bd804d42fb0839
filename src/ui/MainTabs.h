// The main window's eight tabs, each a controller of its own over the program state; the window
// makes them in the order of their pages and connects them.
#pragma once

class QTabWidget;

namespace corvane {

class FileTabController;
class DataTabController;
class ContourTabController;
class AxesTabController;
class ColourTabController;
class DisplayTabController;
class StreamTabController;
class AnalysisTabController;

struct MainTabs {
  QTabWidget* pages = nullptr;  // PageControl1, which holds them
  FileTabController* file = nullptr;
  DataTabController* data = nullptr;
  ContourTabController* contour = nullptr;
  AxesTabController* axes = nullptr;
  ColourTabController* colour = nullptr;
  DisplayTabController* display = nullptr;
  StreamTabController* stream = nullptr;
  AnalysisTabController* analysis = nullptr;
};

}  // namespace corvane
