#pragma once
// The screen saver choice in the registry of the current user, and the
// session told of it, for the Orvane.scr beside this program.
#include "launcher/saver_choice.h"

#include <string>

namespace orvane::launcher {

class Win32SaverStore : public SaverStore {
 public:
  // `installFolder`: the folder of Orvane.scr (UTF-8), to tell whether
  // setup's uninstall entry belongs to it.
  explicit Win32SaverStore(std::string installFolder) : installFolder_(std::move(installFolder)) {}

  std::optional<StoredText> ReadDesktopValue(const std::string& name) override;
  bool WriteDesktopValue(const std::string& name, const std::string& text) override;
  std::optional<std::string> ReadPolicyValue(const std::string& name) override;
  bool InstalledBySetupHere() override;
  void RememberEarlierSaver(const std::optional<StoredText>& saver,
                            const std::optional<std::string>& active) override;
  std::string ShortPathOf(const std::string& path) override;
  bool NamesSameFile(const std::string& a, const std::string& b) override;
  void AnnounceScreenSaverOn() override;

 private:
  std::string installFolder_;
};

}  // namespace orvane::launcher
