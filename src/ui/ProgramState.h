// The one state the windows are views of: the data set, the view, the stored option values and
// the last picture. Handlers write it when a control's value is taken; commands read it, never
// the widgets.
#pragma once
#include <QObject>
#include <map>
#include <string>
#include <string_view>

#include "scene/SceneRenderer.h"

namespace corvane {

// What changed in the program state, for the controls that show it.
enum class StateChange {
  ContourRange,   // the contour range of the selected variable
  ContourStep,    // its contour step
  ContourLevels,  // both: another variable, or the levels chosen again
  Formulas,       // the kept formula variables
  VelocityData,   // whether the data has velocity columns
  View,           // the view's centre and scales: a zoom, a fit, a step back
};

// The program state's change signal: the tab controllers update their controls from it.
class StateEvents : public QObject {
  Q_OBJECT

 public:
  void Changed(StateChange what) { emit changed(what); }

 signals:
  void changed(StateChange what);
};

struct ProgramState {
  SceneState scene;  // data, view, stored options, readout, generator, last picture
  bool ScenePictureValid = false;
  bool AbortRequested = false;
  // Number boxes that hold text which is not a number, by control name. The option keeps its
  // last number; the work that reads the box stops with the box's caption instead.
  std::map<std::string, std::string, std::less<>> wordsInNumberBoxes;
  // Contour range boxes (MinBox, MaxBox, StepBox) typed into, or set by a settings line, and not
  // yet taken with Enter: their texts. Showing the levels again forgets them.
  std::map<std::string, std::string, std::less<>> typedRangeTexts;
  StateEvents events;  // tells the controls what changed
};

// What contour range box `name` shows: the typed text, else the selected variable's level
// (min, max or step), else before any load the start range 0.0 .. 100 in steps of 1.0.
std::string RangeBoxText(const ProgramState& state, std::string_view name);

// The caption a user sees beside a number box ("比熱比γ" for gammaBox); the name itself when the
// box has none.
std::string NumberBoxCaption(std::string_view name);

// Throws CorvaneError naming the caption when box `name` holds a word.
void RequireNumberBox(const ProgramState& state, std::string_view name);

// The boxes a load reads: γ and R, when velocity data derives the Mach number and total pressure.
void RequireLoadNumbers(const ProgramState& state);

// The boxes a drawing reads: the arrow scale when arrows are drawn, the copy offsets when copies
// are drawn, the seed segment when streamlines start from it.
void RequireDrawingNumbers(const ProgramState& state);

}  // namespace corvane
