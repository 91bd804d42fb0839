// The one state the windows are views of: the data set, the view, the stored option values and
// the last picture. Handlers write it when a control's value is taken; commands read it, never
// the widgets.
#pragma once
#include <map>
#include <string>
#include <string_view>

#include "scene/SceneRenderer.h"

namespace corvane {

struct ProgramState {
  SceneState scene;  // data, view, stored options, readout, generator, last picture
  bool ScenePictureValid = false;
  bool AbortRequested = false;
  // Number boxes that hold text which is not a number, by control name. The option keeps its
  // last number; the work that reads the box stops with the box's caption instead.
  std::map<std::string, std::string, std::less<>> wordsInNumberBoxes;
};

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
