#pragma once
// Making Orvane the user's screen saver: what the Start-menu entry "Make Orvane
// my screen saver" and setup both do, so that a user whose choice moved on to
// another saver can come back without running setup again.
#include <optional>
#include <string>

namespace orvane::launcher {

// Registry texts as the pure code sees them: UTF-8, with the value's type.
struct StoredText {
  std::string text;
  unsigned type = 1;  // REG_SZ; REG_EXPAND_SZ (2) where %variables% stay unexpanded
};

// Where the choice lives and how the running session hears of it.
class SaverStore {
 public:
  virtual ~SaverStore() = default;
  // The user's own choice: HKCU\Control Panel\Desktop.
  virtual std::optional<StoredText> ReadDesktopValue(const std::string& name) = 0;
  virtual bool WriteDesktopValue(const std::string& name, const std::string& text) = 0;
  // A value set by policy (HKCU\Software\Policies\Microsoft\Windows\Control
  // Panel\Desktop), which Windows follows over the user's own.
  virtual std::optional<std::string> ReadPolicyValue(const std::string& name) = 0;
  // True when setup installed this very folder: only then is there an
  // uninstall entry to remember the earlier saver in.
  virtual bool InstalledBySetupHere() = 0;
  // Keeps the saver chosen before Orvane (and its on/off state) where the
  // uninstaller looks for it; nothing stands for "none".
  virtual void RememberEarlierSaver(const std::optional<StoredText>& saver,
                                    const std::optional<std::string>& active) = 0;
  // The short (8.3) form of an existing file's path, or empty where the
  // volume keeps no short names or the call fails.
  virtual std::string ShortPathOf(const std::string& path) = 0;
  // True when two spellings (quoted or not, short or long, any case) name one file.
  virtual bool NamesSameFile(const std::string& a, const std::string& b) = 0;
  // Tells the running session that the screen saver is on.
  virtual void AnnounceScreenSaverOn() = 0;
};

inline constexpr char kSaverValueName[] = "SCRNSAVE.EXE";
inline constexpr char kSaverActiveName[] = "ScreenSaveActive";

enum class ChoiceOutcome {
  Chosen,         // Orvane is the screen saver Windows will start
  PolicyDecides,  // stored as the user's choice, but a policy starts another or none
  NotWritten,     // the registry refused the change
};

// The SCRNSAVE.EXE text for the saver at `longPath`. Windows starts the saver
// by that text with " /s" appended. The short form has no blanks and is what
// Windows' own settings store; where there is none (a volume without short
// names) the long path, unquoted, as Windows' settings would store it too: the
// host recognises its own path at the start of its command line.
std::string StoredSaverValue(const std::string& longPath, const std::string& shortPath);

// True when a policy takes the choice away from the user: the screen saver is
// switched off by policy, or policy names a saver other than `scrPath`.
bool PolicyDecides(SaverStore& store, const std::string& scrPath);

// Makes the Orvane.scr at `scrPath` the user's screen saver and switches the
// screen saver on, remembering the earlier one for removal first (unless it
// is this Orvane already). Every step is attempted.
ChoiceOutcome ChooseOrvane(SaverStore& store, const std::string& scrPath);

}  // namespace orvane::launcher
