#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ondivo {

// Every message box, question and file dialog of the panel and its dialogs goes through this,
// so tests can answer them. The Qt implementation beeps before each box, as the panel always did.
class Prompter {
 public:
  enum class Icon { Information, Warning, Error };
  struct FileFilter {
    std::string caption;  // e.g. "Presets files (*.ovp)"
    std::string pattern;  // e.g. "*.ovp"
  };

  virtual ~Prompter() = default;

  // A message with an OK button.
  virtual void Message(const std::string& text, Icon icon = Icon::Error,
                       const std::string& title = "Warning") = 0;
  // A Yes/No question, with the information icon unless told; true when the answer is Yes.
  virtual bool Ask(const std::string& text, const std::string& title = "Warning",
                   Icon icon = Icon::Information) = 0;
  // File dialogs; nullopt when cancelled. The save dialog starts on offered when given.
  virtual std::optional<std::string> OpenFile(const std::string& title,
                                              const std::vector<FileFilter>& filters,
                                              const std::string& defaultExtension) = 0;
  virtual std::optional<std::string> SaveFile(const std::string& title,
                                              const std::vector<FileFilter>& filters,
                                              const std::string& defaultExtension,
                                              const std::string& offered = {}) = 0;
};

}  // namespace ondivo
