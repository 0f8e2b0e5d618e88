#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "panel/Prompter.h"

namespace ondivo::test {

// Answers questions and file dialogs from queues and records everything it was shown.
// An unexpected question is answered No and a file dialog with no queued answer is cancelled.
class ScriptedPrompter final : public Prompter {
 public:
  struct Shown {
    enum Kind { Message, Question, Open, Save } kind;
    std::string text;  // message or question text, or the file dialog's title
    Icon icon = Icon::Information;
    std::string title;
  };

  void Message(const std::string& text, Icon icon, const std::string& title) override {
    shown.push_back({Shown::Message, text, icon, title});
  }
  bool Ask(const std::string& text, const std::string& title, Icon icon) override {
    shown.push_back({Shown::Question, text, icon, title});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> OpenFile(const std::string& title, const std::vector<FileFilter>& f,
                                      const std::string& ext) override {
    lastFilters = f;
    lastExtension = ext;
    shown.push_back({Shown::Open, title, Icon::Information, title});
    return NextFile();
  }
  std::optional<std::string> SaveFile(const std::string& title, const std::vector<FileFilter>& f,
                                      const std::string& ext, const std::string& offer) override {
    lastOffered = offer;
    lastFilters = f;
    lastExtension = ext;
    shown.push_back({Shown::Save, title, Icon::Information, title});
    return NextFile();
  }

  // Texts of the messages shown so far, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& s : shown)
      if (s.kind == Shown::Message) texts.push_back(s.text);
    return texts;
  }

  std::deque<bool> answers;                      // for Ask
  std::deque<std::optional<std::string>> files;  // for OpenFile / SaveFile
  std::vector<Shown> shown;
  std::vector<FileFilter> lastFilters;
  std::string lastExtension;
  std::string lastOffered;  // the path the last save dialog started on

 private:
  std::optional<std::string> NextFile() {
    if (files.empty()) return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
  }
};

}  // namespace ondivo::test
