#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <functional>
#include <memory>

#include "audio/AlsaAudioSink.h"
#include "sim/EmulatedSoundCard.h"
#include "sim/EmulatedStream.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace ondivo::sim {
namespace {

using test::TempDir;

// Sound that plays on and on: ten seconds through real ALSA playback leave a file of four
// seconds, the latest, in order; the next playback starts afresh.
TEST(EmulatedStreamTest, KeepsTheLastSecondsInOrderAndNoMore) {
  TempDir dir;
  const auto card = StartEmulatedSoundCard(dir.Path());
  constexpr size_t kRate = 48000, kTotal = 10 * kRate;
  AlsaAudioSink sink(card->StreamDeviceName());
  sink.Open(kRate, 2);
  std::vector<float> block(2 * kRate);
  for (size_t from = 0; from < kTotal; from += kRate) {
    // Each frame carries its number: the low 15 bits on the left, the rest on the right.
    for (size_t i = 0; i < kRate; ++i) {
      block[2 * i] = static_cast<float>((from + i) & 0x7fff) / 32768;
      block[2 * i + 1] = static_cast<float>((from + i) >> 15) / 32768;
    }
    sink.Write(block.data(), kRate);
  }
  sink.Close();
  EXPECT_EQ(std::filesystem::file_size(card->StreamPath()),
            sizeof(EmulatedStreamHeader) + kStreamSeconds * kRate * 4);
  auto kept = card->Streamed();
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Rate, 48000);
  ASSERT_EQ(kept->Samples.size(), 2 * kStreamSeconds * kRate);
  size_t out = 0;
  for (size_t i = 0; i < kStreamSeconds * kRate; ++i) {
    const size_t number = static_cast<size_t>(kept->Samples[2 * i]) +
                          (static_cast<size_t>(kept->Samples[2 * i + 1]) << 15);
    out += number != kTotal - kStreamSeconds * kRate + i;
  }
  EXPECT_EQ(out, 0u) << "frames out of place";

  sink.Open(kRate, 1);
  sink.Write(block.data(), 100);
  sink.Close();
  kept = card->Streamed();
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Samples.size(), 100u);
}

TEST(EmulatedSoundCardStateTest, StateRoundTripsAndACutFileIsRefused) {
  EmulatedCardState card = WithoutControls(DefaultEmulatedCard(), {mcCdVolume});
  card.At(mcLineInVolume).Value = {65535, 3};
  card.At(mcLineInVolume).Maximum = 65535;
  card.At(mcMasterVolume).Name = "Speaker Playback Volume";
  card.FailErrno = 16;
  const std::string text = SerializeState(card);
  const auto back = ParseState(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(SerializeState(*back), text);
  EXPECT_FALSE(back->At(mcCdVolume).Present);
  EXPECT_EQ(back->At(mcMasterVolume).Name, "Speaker Playback Volume");
  for (size_t cut = 0; cut < text.size(); cut += 7) {
    EXPECT_FALSE(ParseState(text.substr(0, cut))) << cut;
  }
}

TEST(EmulatedSoundCardStateTest, AWriterKilledMidStreamLeavesAWholeStateAndNoLock) {
  TempDir dir;
  EmulatedStateFile file(dir / "card.state");
  ASSERT_TRUE(file.Store(DefaultEmulatedCard()));
  const pid_t writer = test::StartChild([&] {
    for (long i = 0; i >= 0; ++i) {
      file.Update([i](EmulatedCardState& s) { s.At(mcLineInVolume).Value[0] = i; });
    }
    return true;
  });
  // Never leave it running, whatever fails below.
  const std::unique_ptr<void, std::function<void(void*)>> reaper(
      reinterpret_cast<void*>(1), [writer](void*) { ::kill(writer, SIGKILL); });
  // Let it write a while, then kill it wherever it is: inside the lock, mid-file, mid-rename.
  for (uint64_t seen = 0; seen < 40;) {
    const auto state = file.Load();
    ASSERT_TRUE(state);  // never half a file, even while it writes
    seen = static_cast<uint64_t>(state->At(mcLineInVolume).Value[0]);
  }
  ::kill(writer, SIGKILL);
  int status = 0;
  ::waitpid(writer, &status, 0);
  ASSERT_TRUE(file.Load());
  // Its lock died with it: the next writer gets through at once.
  EXPECT_TRUE(file.Update([](EmulatedCardState& s) { s.At(mcMicVolume).Value[0] = 9; }));
  EXPECT_EQ(file.Load()->At(mcMicVolume).Value[0], 9);
}

TEST(EmulatedSoundCardStateTest, AnUnreadableStateIsNotOverwritten) {
  TempDir dir;
  test::WriteBytes(dir / "card.state", "not a card\n");
  EmulatedStateFile file(dir / "card.state");
  int error = 0;
  EXPECT_FALSE(file.Update([](EmulatedCardState&) {}, &error));
  EXPECT_EQ(error, EIO);
  EXPECT_EQ(test::ReadBytes(dir / "card.state"), "not a card\n");
}

TEST(EmulatedSoundCardTest, ItsConfigurationIsPrivateAndComplete) {
  TempDir dir;
  const char* before = std::getenv("ALSA_CONFIG_PATH");
  {
    auto card = StartEmulatedSoundCard(dir.Path());
    EXPECT_EQ(card->DeviceName(), "ondivo");
    EXPECT_STREQ(std::getenv("ALSA_CONFIG_PATH"), card->ConfigPath().c_str());
    const std::string config = test::ReadBytes(card->ConfigPath());
    // Neither the system's hooks (which read ~/.asoundrc) nor the user's files come in.
    EXPECT_EQ(config.find("alsa.conf"), std::string::npos);
    EXPECT_EQ(config.find(".asoundrc"), std::string::npos);
    EXPECT_NE(config.find("lib \"/"), std::string::npos);  // the plugin by absolute path
    EXPECT_NE(config.find("state \"" + card->StatePath().string() + "\""), std::string::npos);
    EXPECT_TRUE(card->State().At(mcMasterVolume).Present);
  }
  EXPECT_EQ(std::getenv("ALSA_CONFIG_PATH"), before);
}

TEST(EmulatedSoundCardTest, InARuntimeFolderItCleansUpAfterItself) {
  TempDir runtime;
  const char* before = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = before ? before : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  std::filesystem::path folder;
  {
    auto card = StartEmulatedSoundCardInRuntimeFolder();
    folder = card->StatePath().parent_path();
    EXPECT_EQ(folder.parent_path(), runtime.Path());
    EXPECT_TRUE(std::filesystem::exists(card->StatePath()));
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
  if (before) {
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }
}

}  // namespace
}  // namespace ondivo::sim
