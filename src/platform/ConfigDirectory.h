#pragma once

#include <filesystem>
#include <string>

namespace ondivo {

struct tConfigDirectoryFacts {
  std::filesystem::path ExecutableDir;
  std::string XdgConfigHome;  // $XDG_CONFIG_HOME, may be empty
  std::string Home;           // $HOME
  std::string Override;       // --config-dir
  bool Simulate = false;
};

// Where Ondivo.ini and Ondivo.db live: --config-dir when given; the executable's folder when
// it holds a writable Ondivo.ini (portable use); else $XDG_CONFIG_HOME/ondivo (or
// ~/.config/ondivo). Emulated hardware keeps its own folder, ondivo-simulate, so trying the
// program never changes the settings of a real card.
std::filesystem::path ChooseConfigDirectory(const tConfigDirectoryFacts& facts);

}  // namespace ondivo
