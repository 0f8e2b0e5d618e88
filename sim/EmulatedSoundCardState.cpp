#include "sim/EmulatedSoundCardState.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/UniqueFd.h"

namespace ondivo::sim {
namespace {

constexpr const char* kMagic = "ondivo-emulated-sound-card 1";

}  // namespace

bool IsSwitchControl(int index) {
  return index % 2 == 1 && index != 3;
}

std::string SerializeState(const EmulatedCardState& state) {
  std::ostringstream out;
  out << kMagic << "\ncard " << state.CardName << "\nfail " << state.FailErrno << "\n";
  for (int i = 0; i < kEmulatedControlCount; ++i) {
    const EmulatedControl& c = state.Controls[static_cast<size_t>(i)];
    out << i << ' ' << (c.Present ? 1 : 0) << ' ' << c.Channels << ' ' << c.Minimum << ' '
        << c.Maximum << ' ' << c.Value[0] << ' ' << c.Value[1] << ' ' << c.Writes << ' ' << c.Name
        << '\n';
  }
  out << "end\n";
  return out.str();
}

std::optional<EmulatedCardState> ParseState(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  EmulatedCardState state;
  if (!std::getline(in, line) || line != kMagic) return std::nullopt;
  if (!std::getline(in, line) || !line.starts_with("card ")) return std::nullopt;
  state.CardName = line.substr(5);
  if (!std::getline(in, line) || !line.starts_with("fail ")) return std::nullopt;
  try {
    state.FailErrno = std::stoi(line.substr(5));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  for (int i = 0; i < kEmulatedControlCount; ++i) {
    if (!std::getline(in, line)) return std::nullopt;
    std::istringstream fields(line);
    int index = -1;
    int present = 0;
    EmulatedControl& c = state.Controls[static_cast<size_t>(i)];
    if (!(fields >> index >> present >> c.Channels >> c.Minimum >> c.Maximum >> c.Value[0] >>
          c.Value[1] >> c.Writes) ||
        index != i || (c.Channels != 1 && c.Channels != 2) || c.Minimum > c.Maximum) {
      return std::nullopt;
    }
    c.Present = present != 0;
    fields >> std::ws;
    std::getline(fields, c.Name);
  }
  // The end mark tells a whole file from a cut one.
  if (!std::getline(in, line) || line != "end") return std::nullopt;
  return state;
}

EmulatedStateFile::EmulatedStateFile(std::filesystem::path path) : path_(std::move(path)) {}

std::filesystem::path EmulatedStateFile::LockPath() const {
  return path_.parent_path() / (path_.filename().string() + ".lock");
}

std::optional<EmulatedCardState> EmulatedStateFile::Load() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ParseState(text);
}

bool EmulatedStateFile::Locked(const std::function<bool(int*)>& body, int* errorNumber) {
  int ignored = 0;
  int& error = errorNumber ? *errorNumber : ignored;
  // The lock lives on its own file: the state file is replaced by every write, and a lock on a
  // replaced inode would guard nothing. A writer that dies drops its lock with its descriptors.
  UniqueFd lock(::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (!lock) {
    error = errno;
    return false;
  }
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) {
      error = errno;
      return false;
    }
  }
  return body(&error);
}

bool EmulatedStateFile::Update(const std::function<void(EmulatedCardState&)>& change,
                               int* errorNumber) {
  return Locked(
      [&](int* error) {
        auto state = Load();
        if (!state) {
          *error = EIO;
          return false;
        }
        change(*state);
        std::error_code written;
        if (!WriteFileAtomically(path_, SerializeState(*state), &written)) {
          *error = written.value();
          return false;
        }
        return true;
      },
      errorNumber);
}

bool EmulatedStateFile::Store(const EmulatedCardState& state, int* errorNumber) {
  return Locked(
      [&](int* error) {
        std::error_code written;
        if (!WriteFileAtomically(path_, SerializeState(state), &written)) {
          *error = written.value();
          return false;
        }
        return true;
      },
      errorNumber);
}

}  // namespace ondivo::sim
