#include "profile/ProfileLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/Errors.h"

namespace corvane {
namespace {

bool ReadInt(std::string_view t, int& v) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() && !t.empty();
}

std::vector<std::string_view> Split(std::string_view s, char c) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t k = 0; k <= s.size(); ++k) {
    if (k == s.size() || s[k] == c) {
      parts.push_back(s.substr(start, k - start));
      start = k + 1;
    }
  }
  return parts;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

LinePiece ParsePiece(std::string_view text) {
  auto bad = [&](const std::string& why) {
    return CorvaneError("線の指定 \"" + std::string(text) + "\" が読めません: " + why +
                        " (例 0:j=0、1:i=5:j=2..10)");
  };
  const std::vector<std::string_view> parts = Split(text, ':');
  if (parts.size() < 2 || parts.size() > 3) throw bad("「領域:j=番号」または「領域:i=番号」の形にしてください");
  LinePiece p;
  if (!ReadInt(parts[0], p.zone) || p.zone < 0) throw bad("領域番号 \"" + std::string(parts[0]) + "\" が 0 以上の整数ではありません");
  const std::string_view line = Trim(parts[1]);
  if (line.size() < 3 || (line[0] != 'i' && line[0] != 'j') || line[1] != '=')
    throw bad("\"" + std::string(line) + "\" は i=番号 か j=番号 ではありません");
  p.constantJ = line[0] == 'j';
  if (!ReadInt(line.substr(2), p.index) || p.index < 0) throw bad("番号 \"" + std::string(line.substr(2)) + "\" が 0 以上の整数ではありません");
  if (parts.size() == 3) {
    const std::string_view range = Trim(parts[2]);
    const char along = p.constantJ ? 'i' : 'j';
    if (range.size() < 3 || range[0] != along || range[1] != '=')
      throw bad("範囲は " + std::string(1, along) + "=始め..終わり で書いてください");
    const std::string_view ends = range.substr(2);
    const std::size_t dots = ends.find("..");
    auto end = [](std::string_view t, int& v) { return Trim(t) == "max" ? (v = -1, true) : ReadInt(t, v) && v >= 0; };
    if (dots == std::string_view::npos || !end(ends.substr(0, dots), p.from) || !end(ends.substr(dots + 2), p.to))
      throw bad("範囲 \"" + std::string(ends) + "\" は 0 以上の整数 (または max) で 始め..終わり と書いてください");
  }
  return p;
}

// The global node indices of one piece in walking order; throws for a piece outside the data.
std::vector<std::int64_t> PieceNodes(const FieldDataSet& data, const LinePiece& p) {
  const std::string name = LinePiecesText({p});
  if (p.zone < 0 || p.zone >= data.ZoneCount || static_cast<std::size_t>(p.zone) >= data.Zones.size())
    throw CorvaneError("線 " + name + ": 領域 " + std::to_string(p.zone) + " はありません (領域数 " +
                       std::to_string(data.ZoneCount) + ")");
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(p.zone)];
  const int across = p.constantJ ? z.NJ : z.NI;  // lines there are
  const int along = p.constantJ ? z.NI : z.NJ;   // nodes on each
  const char* fixed = p.constantJ ? "j" : "i";
  const char* moving = p.constantJ ? "i" : "j";
  if (p.index < 0 || p.index >= across)
    throw CorvaneError("線 " + name + ": 領域 " + std::to_string(p.zone) + " の " + fixed + " は 0.." +
                       std::to_string(across - 1) + " です");
  const int from = p.from < 0 ? along - 1 : p.from;
  const int to = p.to < 0 ? along - 1 : p.to;
  if (from >= along || to >= along)
    throw CorvaneError("線 " + name + ": 領域 " + std::to_string(p.zone) + " の " + moving + " は 0.." +
                       std::to_string(along - 1) + " です");
  if (static_cast<std::int64_t>(z.FirstNode) + static_cast<std::int64_t>(z.NI) * z.NJ > data.NodeCount)
    throw CorvaneError("線 " + name + ": 領域 " + std::to_string(p.zone) + " の格子点がデータにありません");
  std::vector<std::int64_t> nodes;
  const int step = to >= from ? 1 : -1;
  for (int n = from;; n += step) {
    const int i = p.constantJ ? n : p.index;
    const int j = p.constantJ ? p.index : n;
    nodes.push_back(static_cast<std::int64_t>(z.FirstNode) + static_cast<std::int64_t>(z.NJ) * i + j);
    if (n == to) break;
  }
  return nodes;
}

double Distance(const FieldDataSet& d, std::int64_t a, std::int64_t b) {
  const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
  return std::hypot(d.X[ia] - d.X[ib], d.Y[ia] - d.Y[ib]);
}

void Append(Profile& p, double s, double x, double y) {
  p.s.push_back(s);
  p.x.push_back(x);
  p.y.push_back(y);
}

}  // namespace

std::vector<LinePiece> ParseLinePieces(std::string_view text) {
  std::vector<LinePiece> pieces;
  for (std::string_view part : Split(text, ',')) {
    part = Trim(part);
    if (part.empty()) continue;
    pieces.push_back(ParsePiece(part));
  }
  if (pieces.empty()) throw CorvaneError("線の指定が空です (例 0:j=0,1:j=0)");
  return pieces;
}

std::string LinePiecesText(const std::vector<LinePiece>& pieces) {
  std::string s;
  for (const LinePiece& p : pieces) {
    if (!s.empty()) s += ",";
    s += std::to_string(p.zone) + ":" + (p.constantJ ? "j=" : "i=") + std::to_string(p.index);
    if (p.from != 0 || p.to != -1)
      s += std::string(":") + (p.constantJ ? "i=" : "j=") + std::to_string(p.from) + ".." +
           (p.to < 0 ? std::string("max") : std::to_string(p.to));
  }
  return s;
}

Profile ExtractGridLine(const FieldDataSet& data, const std::vector<LinePiece>& pieces) {
  std::vector<std::vector<std::int64_t>> walks;
  for (const LinePiece& p : pieces) walks.push_back(PieceNodes(data, p));
  // Each piece after the first starts at its end nearer to where the line so far stops; the
  // first is turned round when the second meets its start rather than its end.
  if (walks.size() > 1) {
    const auto& a = walks[0];
    const auto& b = walks[1];
    const double toEnd = std::min(Distance(data, a.back(), b.front()), Distance(data, a.back(), b.back()));
    const double toStart = std::min(Distance(data, a.front(), b.front()), Distance(data, a.front(), b.back()));
    if (toStart < toEnd) std::reverse(walks[0].begin(), walks[0].end());
  }
  for (std::size_t k = 1; k < walks.size(); ++k) {
    const std::int64_t end = walks[k - 1].back();
    if (Distance(data, end, walks[k].back()) < Distance(data, end, walks[k].front()))
      std::reverse(walks[k].begin(), walks[k].end());
  }
  // Joints closer than this (relative to the data's extent) are the same point.
  const double extent = std::max({data.XMax - data.XMin, data.YMax - data.YMin, 1e-300});
  const double same = extent * 1e-12;
  std::vector<std::int64_t> nodes;
  for (const auto& walk : walks) {
    for (std::size_t n = 0; n < walk.size(); ++n) {
      if (n == 0 && !nodes.empty() && Distance(data, nodes.back(), walk[0]) <= same) continue;
      nodes.push_back(walk[n]);
    }
  }
  Profile p;
  p.rows.assign(data.Values.size(), {});
  double s = 0.0;
  for (std::size_t n = 0; n < nodes.size(); ++n) {
    if (n > 0) s += Distance(data, nodes[n - 1], nodes[n]);
    const auto k = static_cast<std::size_t>(nodes[n]);
    Append(p, s, data.X[k], data.Y[k]);
    for (std::size_t r = 0; r < data.Values.size(); ++r)
      p.rows[r].push_back(k < data.Values[r].size() ? data.Values[r][k] : std::nan(""));
  }
  return p;
}

Profile ExtractSegment(const FieldDataSet& data, WorldPoint p1, WorldPoint p2) {
  struct Hit {
    double r;  // along P1-P2
    std::size_t a, b;
    double t;  // along the edge a-b
    double x, y;
  };
  std::vector<Hit> hits;
  auto edge = [&](std::size_t a, std::size_t b) {
    const double x1 = data.X[a], y1 = data.Y[a], x2 = data.X[b], y2 = data.Y[b];
    const double den = (p2.x - p1.x) * (y1 - y2) - (x1 - x2) * (p2.y - p1.y);
    if (den == 0.0) return;
    const double r = ((y1 - y2) * (x1 - p1.x) + (x2 - x1) * (y1 - p1.y)) / den;
    if (!(r >= 0.0 && r <= 1.0)) return;
    const double t = ((p1.y - p2.y) * (x1 - p1.x) + (p2.x - p1.x) * (y1 - p1.y)) / den;
    if (!(t >= 0.0 && t <= 1.0)) return;
    hits.push_back({r, a, b, t, x1 + (x2 - x1) * t, y1 + (y2 - y1) * t});
  };
  for (const ZoneGrid& z : data.Zones) {
    if (static_cast<std::int64_t>(z.FirstNode) + static_cast<std::int64_t>(z.NI) * z.NJ > data.NodeCount) continue;
    auto node = [&](int i, int j) { return static_cast<std::size_t>(z.FirstNode) + static_cast<std::size_t>(z.NJ) * i + j; };
    for (int i = 0; i < z.NI; ++i)
      for (int j = 1; j < z.NJ; ++j) edge(node(i, j - 1), node(i, j));
    for (int j = 0; j < z.NJ; ++j)
      for (int i = 1; i < z.NI; ++i) edge(node(i - 1, j), node(i, j));
  }
  std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.r < b.r; });
  const double length = std::hypot(p2.x - p1.x, p2.y - p1.y);
  Profile p;
  p.rows.assign(data.Values.size(), {});
  for (std::size_t n = 0; n < hits.size(); ++n) {
    const Hit& h = hits[n];
    // A crossing at a node is found on every edge meeting there: the first one stands for all.
    bool seen = false;
    for (std::size_t m = n; m-- > 0 && hits[m].r >= h.r - 1e-12;)
      if (hits[m].x == h.x && hits[m].y == h.y) seen = true;
    if (seen) continue;
    Append(p, h.r * length, h.x, h.y);
    for (std::size_t r = 0; r < data.Values.size(); ++r) {
      const NodeRow& v = data.Values[r];
      p.rows[r].push_back(h.b < v.size() ? v[h.a] + (v[h.b] - v[h.a]) * h.t : std::nan(""));
    }
  }
  return p;
}

ProfileAxis ParseProfileAxis(std::string_view text) {
  if (text == "s") return ProfileAxis::S;
  if (text == "x") return ProfileAxis::X;
  if (text == "y") return ProfileAxis::Y;
  throw CorvaneError("横軸は x, y, s のいずれかです: " + std::string(text));
}

const char* ProfileAxisName(ProfileAxis axis) {
  switch (axis) {
    case ProfileAxis::X: return "x";
    case ProfileAxis::Y: return "y";
    case ProfileAxis::S: break;
  }
  return "s";
}

const std::vector<double>& AxisColumn(const Profile& p, ProfileAxis axis) {
  switch (axis) {
    case ProfileAxis::X: return p.x;
    case ProfileAxis::Y: return p.y;
    case ProfileAxis::S: break;
  }
  return p.s;
}

}  // namespace corvane
