// The two geometric tests of the streamline tracer: a point in a triangle (with its barycentric
// weights) and where a ray meets the line through a cell edge. Inline: the seed search runs the
// triangle test for every candidate cell.
#pragma once
#include <cmath>
#include <cstdint>
#include "field/WorldPoint.h"

namespace corvane {

// A node (i, j) of one zone.
struct GridNode {
  std::int32_t i = 0;
  std::int32_t j = 0;
  bool operator==(const GridNode&) const = default;
};

struct TriangleHit {
  bool inside = false;
  double a = 0.0;  // weight of V1
  double b = 0.0;  // weight of V2
};

// Whether p lies in triangle V0 V1 V2, sides included. A triangle without area contains nothing,
// and neither does one whose determinant is not finite (a node at infinity or not a number):
// its weights would be 0 or NaN and would claim points anywhere.
inline TriangleHit PointInTriangle(WorldPoint p, WorldPoint v0, WorldPoint v1, WorldPoint v2) {
  TriangleHit hit;
  const double det = (v1.x - v0.x) * (v2.y - v0.y) - (v2.x - v0.x) * (v1.y - v0.y);
  if (det == 0.0 || !std::isfinite(det)) return hit;
  hit.a = ((p.x - v0.x) * (v2.y - v0.y) - (p.y - v0.y) * (v2.x - v0.x)) / det;
  hit.b = ((p.y - v0.y) * (v1.x - v0.x) - (p.x - v0.x) * (v1.y - v0.y)) / det;
  hit.inside = hit.a >= 0.0 && hit.a <= 1.0 && hit.b >= 0.0 && hit.b <= 1.0 && hit.a + hit.b <= 1.0;
  return hit;
}

struct RayHit {
  double tau = -1.0;    // position on N1 N2: 0 at N1, 1 at N2; -1 when the ray is parallel
  double lambda = 0.0;  // ray parameter in units of w; only its sign matters
};

// Where the ray p + lambda * w meets the line through n1 and n2.
inline RayHit RayEdgeIntersection(WorldPoint p, WorldPoint w, WorldPoint n1, WorldPoint n2) {
  RayHit hit;
  const double den = (n1.y - n2.y) * w.x - (n1.x - n2.x) * w.y;
  if (den == 0.0) return hit;
  hit.lambda = ((n1.y - n2.y) * (n1.x - p.x) + (n2.x - n1.x) * (n1.y - p.y)) / den;
  hit.tau = (w.x * (n1.y - p.y) - w.y * (n1.x - p.x)) / den;
  return hit;
}

}  // namespace corvane
