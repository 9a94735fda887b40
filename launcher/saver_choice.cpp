#include "launcher/saver_choice.h"

namespace orvane::launcher {

std::string StoredSaverValue(const std::string& longPath, const std::string& shortPath) {
  if (!shortPath.empty() && shortPath.find(' ') == std::string::npos) return shortPath;
  return longPath;
}

bool PolicyDecides(SaverStore& store, const std::string& scrPath) {
  const std::optional<std::string> active = store.ReadPolicyValue(kSaverActiveName);
  if (active && *active == "0") return true;
  const std::optional<std::string> saver = store.ReadPolicyValue(kSaverValueName);
  return saver && !saver->empty() && !store.NamesSameFile(*saver, scrPath);
}

ChoiceOutcome ChooseOrvane(SaverStore& store, const std::string& scrPath) {
  const std::optional<StoredText> current = store.ReadDesktopValue(kSaverValueName);
  const bool alreadyOrvane = current && store.NamesSameFile(current->text, scrPath);
  if (!alreadyOrvane && store.InstalledBySetupHere()) {
    std::optional<std::string> active;
    if (auto stored = store.ReadDesktopValue(kSaverActiveName)) active = stored->text;
    store.RememberEarlierSaver(current, active);
  }
  const std::string value = StoredSaverValue(scrPath, store.ShortPathOf(scrPath));
  const bool saverWritten = store.WriteDesktopValue(kSaverValueName, value);
  const bool activeWritten = store.WriteDesktopValue(kSaverActiveName, "1");
  store.AnnounceScreenSaverOn();
  if (!saverWritten || !activeWritten) return ChoiceOutcome::NotWritten;
  return PolicyDecides(store, scrPath) ? ChoiceOutcome::PolicyDecides : ChoiceOutcome::Chosen;
}

}  // namespace orvane::launcher
