#include "tests/fakes/fake_ini_store.h"

namespace orvane::fakes {

std::vector<std::string> FakeIniStore::KeysRead() const {
  std::vector<std::string> keys;
  for (const Read& r : reads) keys.push_back(r.key);
  return keys;
}

std::string FakeIniStore::ReadIniValue(std::string_view section, std::string_view key,
                                       const std::string& fileName) {
  reads.push_back({std::string(section), std::string(key), fileName});
  // The platform's profile read answers at most 255 bytes.
  const auto it = values.find(std::string(key));
  return it == values.end() ? std::string() : it->second.substr(0, 255);
}

bool FakeIniStore::WriteIniValue(std::string_view section, std::string_view key,
                                 const std::string& value, const std::string& fileName) {
  writes.push_back({std::string(section), std::string(key), value, fileName});
  return static_cast<int>(writes.size()) != failAt;
}

bool FakeIniStore::FileExists(const std::string& path) {
  existsAsked.push_back(path);
  return everyFileExists || existingFiles.count(path) > 0;
}

}  // namespace orvane::fakes
