#pragma once

#include "panel/Prompter.h"

class QWidget;

namespace ondivo {

// Message boxes and file dialogs on Qt; each box is preceded by the default beep.
class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Message(const std::string& text, Icon icon, const std::string& title) override;
  bool Ask(const std::string& text, const std::string& title, Icon icon) override;
  std::optional<std::string> OpenFile(const std::string& title,
                                      const std::vector<FileFilter>& filters,
                                      const std::string& defaultExtension) override;
  std::optional<std::string> SaveFile(const std::string& title,
                                      const std::vector<FileFilter>& filters,
                                      const std::string& defaultExtension,
                                      const std::string& offered) override;

 private:
  QWidget* parent_;
};

}  // namespace ondivo
