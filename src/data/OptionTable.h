// Maps control names to fields of a plain option struct. One table per option struct; the
// settings file, `--set` on the command line and the windows all go through it, so a control
// name means the same field everywhere. A value is what a user would type or choose in that
// control ("1"/"0" for check boxes and radio buttons, a number for boxes, an index for lists).
#pragma once
#include <charconv>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/Errors.h"

namespace corvane {

// Text-to-number conversions shared by every option table and edit box. They throw
// CorvaneError naming the control and the text; blanks around the number are accepted.
double ParseDoubleValue(std::string_view control, std::string_view text);
long long ParseIntegerValue(std::string_view control, std::string_view text);
bool ParseBoolValue(std::string_view control, std::string_view text);
// A 24-bit colour 0x00BBGGRR from "R,G,B", "#RRGGBB" or a decimal RRGGBB number as in crv.ini.
std::uint32_t ParseColourValue(std::string_view control, std::string_view text);

template <class Options>
class OptionTable {
 public:
  using Setter = std::function<void(Options&, std::string_view control, std::string_view value)>;

  void Add(std::string name, Setter setter) {
    names_.push_back(name);
    setters_[std::move(name)] = std::move(setter);
  }

  // Takes every entry of a sub-table whose options live in a member of this table's struct.
  template <class Sub>
  void AddAll(const OptionTable<Sub>& sub, Sub Options::*member) {
    for (const std::string& name : sub.Names()) {
      Add(name, [&sub, member, name](Options& o, std::string_view c, std::string_view v) {
        sub.Apply(o.*member, name, v);
        (void)c;
      });
    }
  }

  bool Has(std::string_view name) const { return setters_.find(std::string(name)) != setters_.end(); }
  const std::vector<std::string>& Names() const { return names_; }

  // Sets the field behind `name`; throws CorvaneError for an unknown name or a bad value.
  void Apply(Options& options, std::string_view name, std::string_view value) const {
    auto it = setters_.find(std::string(name));
    if (it == setters_.end()) throw CorvaneError("不明な設定項目です: " + std::string(name));
    it->second(options, name, value);
  }

  // Field makers. Spin boxes clamp to their range, as the control itself does.
  template <class T>
  void Int(std::string name, T Options::*field, long long min, long long max) {
    Add(std::move(name), [field, min, max](Options& o, std::string_view c, std::string_view v) {
      long long n = ParseIntegerValue(c, v);
      o.*field = static_cast<T>(n < min ? min : (n > max ? max : n));
    });
  }
  void Double(std::string name, double Options::*field) {
    Add(std::move(name), [field](Options& o, std::string_view c, std::string_view v) {
      o.*field = ParseDoubleValue(c, v);
    });
  }
  void Bool(std::string name, bool Options::*field) {
    Add(std::move(name), [field](Options& o, std::string_view c, std::string_view v) {
      o.*field = ParseBoolValue(c, v);
    });
  }
  void Text(std::string name, std::string Options::*field) {
    Add(std::move(name), [field](Options& o, std::string_view, std::string_view v) { o.*field = std::string(v); });
  }
  void Colour(std::string name, std::uint32_t Options::*field) {
    Add(std::move(name), [field](Options& o, std::string_view c, std::string_view v) {
      o.*field = ParseColourValue(c, v);
    });
  }
  // One radio button of a group: "1" selects `choice`; "0" leaves the group as it is.
  template <class E>
  void Radio(std::string name, E Options::*field, E choice) {
    Add(std::move(name), [field, choice](Options& o, std::string_view c, std::string_view v) {
      if (ParseBoolValue(c, v)) o.*field = choice;
    });
  }

 private:
  std::vector<std::string> names_;
  std::map<std::string, Setter, std::less<>> setters_;
};

}  // namespace corvane
