// The settings store in memory, for the unit, Windows and fuzz tests: values by
// key, the files that open, and every call recorded in order.
#pragma once

#include "common/settings.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::fakes {

class FakeIniStore final : public common::IniStore {
 public:
  struct Read {
    std::string section, key, file;
  };
  struct Write {
    std::string section, key, value, file;
    bool operator==(const Write& o) const {
      return section == o.section && key == o.key && value == o.value && file == o.file;
    }
  };

  std::map<std::string, std::string> values;  // by key; a missing key reads ""
  std::set<std::string> existingFiles;        // paths that open
  bool everyFileExists = false;
  int failAt = 0;  // the write with this number (from 1) fails

  std::vector<Read> reads;
  std::vector<Write> writes;
  std::vector<std::string> existsAsked;

  // The keys read, in order.
  std::vector<std::string> KeysRead() const;

  std::string ReadIniValue(std::string_view section, std::string_view key,
                           const std::string& fileName) override;
  bool WriteIniValue(std::string_view section, std::string_view key, const std::string& value,
                     const std::string& fileName) override;
  bool FileExists(const std::string& path) override;
};

}  // namespace orvane::fakes
