// Maps control names to fields of a plain option struct. One table per option struct; the
// settings file, `--set` on the command line and the windows all go through it, so a control
// name means the same field everywhere. A value is what a user would type or choose in that
// control ("1"/"0" for check boxes and radio buttons, a number for boxes, an index for lists).
// Each entry reads its field back the same way, so a control shows what the state holds.
#pragma once
#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/Errors.h"

namespace corvane {

// Text-to-number conversions shared by every option table and edit box. They throw
// CorvaneError naming the control and the text; blanks around the number are accepted.
double ParseDoubleValue(std::string_view control, std::string_view text);
long long ParseIntegerValue(std::string_view control, std::string_view text);
bool ParseBoolValue(std::string_view control, std::string_view text);
// A 24-bit colour 0x00BBGGRR from "R,G,B", "#RRGGBB" or a decimal RRGGBB number as in crv.ini.
std::uint32_t ParseColourValue(std::string_view control, std::string_view text);

// A number as a user would type it into a box: the shortest text that reads back as the same
// number, with ".0" on whole numbers ("0.0", "1.4", "0.0000001"); exponent form only for very
// large or very small numbers.
std::string FormatOptionNumber(double value);
// A colour as crv.ini writes it: decimal R * 65536 + G * 256 + B.
std::string FormatColourValue(std::uint32_t colour);
inline std::string FormatBoolValue(bool on) { return on ? "1" : "0"; }

template <class Options>
class OptionTable {
 public:
  using Setter = std::function<void(Options&, std::string_view control, std::string_view value)>;
  using Getter = std::function<std::string(const Options&)>;

  void Add(std::string name, Setter setter, Getter getter) {
    names_.push_back(name);
    entries_[std::move(name)] = Entry{std::move(setter), std::move(getter)};
  }

  // Takes every entry of a sub-table whose options live in a member of this table's struct.
  template <class Sub>
  void AddAll(const OptionTable<Sub>& sub, Sub Options::*member) {
    for (const std::string& name : sub.Names()) {
      Add(
          name, [&sub, member, name](Options& o, std::string_view, std::string_view v) { sub.Apply(o.*member, name, v); },
          [&sub, member, name](const Options& o) { return sub.Get(o.*member, name); });
    }
  }

  bool Has(std::string_view name) const { return entries_.find(name) != entries_.end(); }
  const std::vector<std::string>& Names() const { return names_; }

  // Sets the field behind `name`; throws CorvaneError for an unknown name or a bad value.
  void Apply(Options& options, std::string_view name, std::string_view value) const {
    Find(name).set(options, name, value);
  }
  // The field behind `name` as text Apply takes back; throws CorvaneError for an unknown name.
  std::string Get(const Options& options, std::string_view name) const { return Find(name).get(options); }

  // Field makers. Spin boxes clamp to their range, as the control itself does.
  template <class T>
  void Int(std::string name, T Options::*field, long long min, long long max) {
    Add(
        std::move(name),
        [field, min, max](Options& o, std::string_view c, std::string_view v) {
          long long n = ParseIntegerValue(c, v);
          o.*field = static_cast<T>(n < min ? min : (n > max ? max : n));
        },
        [field](const Options& o) { return std::to_string(o.*field); });
  }
  void Double(std::string name, double Options::*field) {
    Add(
        std::move(name), [field](Options& o, std::string_view c, std::string_view v) { o.*field = ParseDoubleValue(c, v); },
        [field](const Options& o) { return FormatOptionNumber(o.*field); });
  }
  void Bool(std::string name, bool Options::*field) {
    Add(
        std::move(name), [field](Options& o, std::string_view c, std::string_view v) { o.*field = ParseBoolValue(c, v); },
        [field](const Options& o) { return FormatBoolValue(o.*field); });
  }
  void Text(std::string name, std::string Options::*field) {
    Add(
        std::move(name), [field](Options& o, std::string_view, std::string_view v) { o.*field = std::string(v); },
        [field](const Options& o) { return o.*field; });
  }
  void Colour(std::string name, std::uint32_t Options::*field) {
    Add(
        std::move(name), [field](Options& o, std::string_view c, std::string_view v) { o.*field = ParseColourValue(c, v); },
        [field](const Options& o) { return FormatColourValue(o.*field); });
  }
  // One radio button of a group: "1" selects `choice`; "0" leaves the group as it is.
  template <class E>
  void Radio(std::string name, E Options::*field, E choice) {
    Add(
        std::move(name),
        [field, choice](Options& o, std::string_view c, std::string_view v) {
          if (ParseBoolValue(c, v)) o.*field = choice;
        },
        [field, choice](const Options& o) { return FormatBoolValue(o.*field == choice); });
  }

 private:
  struct Entry {
    Setter set;
    Getter get;
  };
  const Entry& Find(std::string_view name) const {
    auto found = entries_.find(name);
    if (found == entries_.end()) throw CorvaneError("不明な設定項目です: " + std::string(name));
    return found->second;
  }
  std::vector<std::string> names_;
  std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace corvane
