#include "streamline/StreamOptions.h"

#include <limits>
#include <string>

#include "streamline/SeedList.h"

namespace corvane {
namespace {

// One cell of a StreamList row: a decimal integer that fits the grid's 32-bit cells.
std::int32_t SeedListCell(std::string_view control, std::string_view text) {
  const long long n = ParseIntegerValue(control, text);
  if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
    throw CorvaneError(std::string(control) + " の値 \"" + std::string(text) + "\" は範囲内の整数ではありません");
  return static_cast<std::int32_t>(n);
}

// "N,Z,I,J[;N,Z,I,J...]" appends rows; an empty value clears the list.
void ApplySeedRows(StreamOptions& o, std::string_view control, std::string_view value) {
  std::string_view rest = value;
  while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= 32) rest.remove_prefix(1);
  if (rest.empty()) {
    ClearSeedList(o.StreamList);
    return;
  }
  // Pass 1: parse every row, so a bad value leaves the list as it was.
  std::vector<StreamSeed> rows;
  for (;;) {
    const std::size_t end = rest.find(';');
    const std::string_view row = rest.substr(0, end);
    std::int32_t cells[4];
    std::string_view cellText = row;
    for (int c = 0; c < 4; ++c) {
      const std::size_t comma = cellText.find(',');
      if ((c < 3) == (comma == std::string_view::npos))
        throw CorvaneError(std::string(control) + " の値 \"" + std::string(value) + "\" は 重,領域,i,j の形ではありません");
      cells[c] = SeedListCell(control, cellText.substr(0, comma));
      if (c < 3) cellText.remove_prefix(comma + 1);
    }
    rows.push_back(StreamSeed{cells[0], cells[1], cells[2], cells[3]});
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  // Pass 2: append them.
  if (o.StreamList.seeds.size() + rows.size() > static_cast<std::size_t>(StreamSeedList::kMaxSeeds))
    throw CorvaneError(std::string(control) + ": 系列が多すぎます");
  for (const StreamSeed& s : rows) AppendSeed(o.StreamList, s);
  o.StreamLineGridSelect = true;
}

// The rows as "N,Z,I,J;N,Z,I,J": applied to an empty list, the same list again.
std::string SeedRowsText(const StreamOptions& o) {
  std::string text;
  for (const StreamSeed& s : o.StreamList.seeds) {
    if (!text.empty()) text += ';';
    text += std::to_string(s.copy) + ',' + std::to_string(s.zone) + ',' + std::to_string(s.i) + ',' + std::to_string(s.j);
  }
  return text;
}

// An edit of the segment group: takes the value and checks StreamLineSegment, as typing does.
void SegmentDouble(OptionTable<StreamOptions>& t, const char* name, double StreamOptions::*field) {
  t.Add(
      name,
      [field](StreamOptions& o, std::string_view c, std::string_view v) {
        o.*field = ParseDoubleValue(c, v);
        SegmentEdited(o);
      },
      [field](const StreamOptions& o) { return FormatOptionNumber(o.*field); });
}

}  // namespace

const OptionTable<StreamOptions>& StreamOptionTable() {
  static const OptionTable<StreamOptions> table = [] {
    using S = StreamOptions;
    OptionTable<S> t;
    t.Int("StreamZoneSelect", &S::StreamZoneSelect, -1, 99);
    t.Int("StreamIBox", &S::StreamIBox, 0, 100);
    t.Int("StreamJBox", &S::StreamJBox, 0, 100);
    t.Int("StreamOverbox", &S::StreamOverbox, std::numeric_limits<std::int32_t>::min(),
          std::numeric_limits<std::int32_t>::max());
    t.Add("StreamList", ApplySeedRows, SeedRowsText);
    t.Bool("StreamLineGridSelect", &S::StreamLineGridSelect);
    SegmentDouble(t, "StreamXa", &S::StreamXa);
    SegmentDouble(t, "StreamYa", &S::StreamYa);
    SegmentDouble(t, "StreamXb", &S::StreamXb);
    SegmentDouble(t, "StreamYb", &S::StreamYb);
    t.Add(
        "StreamDevide",
        [](S& o, std::string_view c, std::string_view v) {
          const long long n = ParseIntegerValue(c, v);
          o.StreamDevide = static_cast<int>(n < 2 ? 2 : (n > 100 ? 100 : n));
          SegmentEdited(o);
        },
        [](const S& o) { return std::to_string(o.StreamDevide); });
    t.Bool("StreamLineSegment", &S::StreamLineSegment);
    t.Int("StreamLineWid", &S::StreamLineWid, 1, 10);
    t.Colour("StreamColShape", &S::streamLineColour);
    return t;
  }();
  return table;
}

}  // namespace corvane
