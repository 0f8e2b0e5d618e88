#include <QLineEdit>
#include <QStandardPaths>

#include "schedule/ScriptFile.h"
#include "schedule/ScriptRunner.h"
#include "schedule/tdProgr.h"

namespace ondivo {

namespace {

constexpr const char* kEraseQuestion = "This script will be erased.\rAre you sure ?";

std::filesystem::path DocumentsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

}  // namespace

void tdProgr::btNewClick() {
  if (!prompts_.Ask(kEraseQuestion, "Warning")) return;
  // A new script is not the file the old one came from: saving it asks for a name.
  fileName_.clear();
  askOnSave_ = false;
  SetCaption();
  editing_.Program().Clear();
  RefreshProgram(std::nullopt);
}

void tdProgr::btLoadClick() {
  if (!editing_.Program().Empty() && !prompts_.Ask(kLoadScriptQuestion, "Warning")) return;
  const auto path = prompts_.OpenFile("Load script", ScriptFileFilters(), "ovs");
  if (!path) return;
  std::unique_ptr<tScript> loaded;
  const tFileRead result = ReadScriptFile(*path, context_.Locale, loaded);
  if (result != kScriptRead || !loaded) {
    prompts_.Message(std::string(ScriptFileReadMessage(result)), Prompter::Icon::Error);
    return;
  }
  fileName_ = *path;
  lastFile_ = fileName_;
  SetCaption();
  title_->setText(QString::fromStdString(loaded->Title()));
  editing_.Program() = std::move(*loaded);
  RefreshProgram(editing_.Program().Empty() ? std::nullopt : std::optional<size_t>(0));
}

void tdProgr::btSaveClick() {
  // A script without a file of its own is never written under a name the user did not see.
  if (askOnSave_ || fileName_.empty()) {
    iSaveAsClick();
    return;
  }
  SaveTo(fileName_);
}

void tdProgr::iSaveAsClick() {
  const std::string offered =
      fileName_.empty() ? OfferedScriptPath(lastFile_, DocumentsFolder()).string() : fileName_;
  const auto path = prompts_.SaveFile("Save script", ScriptFileFilters(), "ovs", offered);
  if (path) SaveTo(*path);
}

bool tdProgr::SaveTo(const std::string& path) {
  const tWriteResult written = WriteScriptFile(path, title_->text().toStdString(),
                                               editing_.Program(), context_.Bank, context_.Locale);
  if (!written) {
    prompts_.Message(written.Message, Prompter::Icon::Error);
    return false;
  }
  if (!written.Notice.empty()) prompts_.Message(written.Notice, Prompter::Icon::Warning);
  fileName_ = path;
  lastFile_ = path;
  askOnSave_ = false;
  SetCaption();
  return true;
}

}  // namespace ondivo
