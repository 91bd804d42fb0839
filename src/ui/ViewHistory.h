// The views the user left behind (centre and scales), so an accidental click or wheel turn can
// be taken back and redone, the way a browser walks its pages.
#pragma once
#include <deque>
#include <optional>

#include "render/ViewTransform.h"

namespace corvane {

struct ViewPlace {
  double CentreX = 0.0, CentreY = 0.0, ScaleX = 1.0, ScaleY = 1.0;
  bool operator==(const ViewPlace&) const = default;
};

ViewPlace PlaceOf(const ViewTransform& view);
void ApplyPlace(ViewTransform& view, const ViewPlace& place);

class ViewHistory {
 public:
  static constexpr std::size_t kDepth = 50;

  // The view about to be left; a new step forgets the views ahead of it.
  void Remember(const ViewPlace& current);
  // The view to go back to from `current` (which becomes the way forward), if any.
  std::optional<ViewPlace> Back(const ViewPlace& current);
  std::optional<ViewPlace> Forward(const ViewPlace& current);
  bool CanGoForward() const { return !forward_.empty(); }
  void Clear();

 private:
  std::deque<ViewPlace> back_, forward_;
};

}  // namespace corvane
