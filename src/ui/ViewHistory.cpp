#include "ui/ViewHistory.h"

namespace corvane {

ViewPlace PlaceOf(const ViewTransform& view) { return {view.CentreX, view.CentreY, view.ScaleX, view.ScaleY}; }

void ApplyPlace(ViewTransform& view, const ViewPlace& place) {
  view.CentreX = place.CentreX;
  view.CentreY = place.CentreY;
  view.ScaleX = place.ScaleX;
  view.ScaleY = place.ScaleY;
}

void ViewHistory::Remember(const ViewPlace& current) {
  forward_.clear();
  // The same view twice in a row (a fit of a fitted view) is one step back, not two.
  if (!back_.empty() && back_.back() == current) return;
  back_.push_back(current);
  while (back_.size() > kDepth) back_.pop_front();
}

std::optional<ViewPlace> ViewHistory::Back(const ViewPlace& current) {
  if (back_.empty()) return std::nullopt;
  ViewPlace place = back_.back();
  back_.pop_back();
  forward_.push_back(current);
  while (forward_.size() > kDepth) forward_.pop_front();
  return place;
}

std::optional<ViewPlace> ViewHistory::Forward(const ViewPlace& current) {
  if (forward_.empty()) return std::nullopt;
  ViewPlace place = forward_.back();
  forward_.pop_back();
  back_.push_back(current);
  while (back_.size() > kDepth) back_.pop_front();
  return place;
}

void ViewHistory::Clear() {
  back_.clear();
  forward_.clear();
}

}  // namespace corvane
