#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "mixer/Mixer.h"
#include "mixer/MixerErrors.h"

namespace ondivo {
namespace {

// A mixer device in memory: what was opened, written, and which changes are pending.
struct FakeCard {
  std::map<tMixerControlType, MixerControlInfo> info;
  std::map<tMixerControlType, MixerValues> values;
  std::vector<std::string> opened;
  std::vector<std::pair<tMixerControlType, MixerValues>> writes;
  std::vector<tMixerControlType> pending;
  bool failOpen = false;
};

class FakeBackend final : public MixerBackend {
 public:
  explicit FakeBackend(FakeCard& card) : card_(card) {}
  void Open(const std::string& device) override {
    if (card_.failOpen) throw eMMError(kMMSysErrAllocated, "snd_mixer_attach");
    card_.opened.push_back(device);
  }
  void Close() override {}
  std::string CardName() const override { return "Fake"; }
  MixerControlInfo Describe(tMixerControlType c) const override {
    const auto it = card_.info.find(c);
    return it == card_.info.end() ? MixerControlInfo{} : it->second;
  }
  MixerValues Read(tMixerControlType c) override { return card_.values[c]; }
  void Write(tMixerControlType c, MixerValues v) override {
    card_.writes.push_back({c, v});
    card_.values[c] = v;
  }
  std::vector<pollfd> PollDescriptors() const override { return {{3, POLLIN, 0}}; }
  void HandleEvents(const std::function<void(tMixerControlType)>& touched) override {
    for (auto c : card_.pending) touched(c);
    card_.pending.clear();
  }

 private:
  FakeCard& card_;
};

class TMixerTest : public ::testing::Test {
 protected:
  TMixerTest() {
    card.info[mcLineInVolume] = {true, 0, 65535, 2};
    card.info[mcLineInMute] = {true, 0, 1, 1};
    card.info[mcMicVolume] = {true, 0, 31, 1};
    card.values[mcLineInVolume] = {100, 200};
    mixer = std::make_unique<TMixer>(std::make_unique<FakeBackend>(card), "hw:1");
    mixer->OnControlChange = [this](TMixer& sender, tMixerControlType c) {
      EXPECT_EQ(&sender, mixer.get());
      events.push_back(c);
    };
  }
  FakeCard card;
  std::unique_ptr<TMixer> mixer;
  std::vector<tMixerControlType> events;
};

TEST_F(TMixerTest, OpensOnlyOnceTheOwnerHasAppliedItsSettings) {
  EXPECT_TRUE(mixer->Active());
  mixer->SetMidiDeviceID(-2);
  mixer->SetActive(false);
  mixer->SetActive(true);
  EXPECT_TRUE(card.opened.empty());
  EXPECT_FALSE(mixer->HasControl(mcLineInVolume));
  mixer->Loaded();
  EXPECT_EQ(card.opened, std::vector<std::string>{"hw:1"});
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 1), 200);
  // A new device identifier reopens on that device; the same one changes nothing.
  mixer->SetMidiDeviceID(3);
  mixer->SetMidiDeviceID(3);
  EXPECT_EQ(card.opened, (std::vector<std::string>{"hw:1", "hw:3"}));
  mixer->SetActive(false);
  EXPECT_FALSE(mixer->HasControl(mcLineInVolume));
  EXPECT_TRUE(mixer->PollDescriptors().empty());
}

TEST_F(TMixerTest, AFailedOpenLeavesItClosedAndPropagates) {
  card.failOpen = true;
  EXPECT_THROW(mixer->Loaded(), eMMError);
  EXPECT_FALSE(mixer->Active());
  EXPECT_FALSE(mixer->HasControl(mcLineInVolume));
}

TEST_F(TMixerTest, WritesOnlyChangesAndKeepsValuesInRange) {
  mixer->Loaded();
  mixer->SetControlValue(mcLineInVolume, 0, 100);
  EXPECT_TRUE(card.writes.empty());
  mixer->SetControlValue(mcLineInVolume, 1, 70000);
  ASSERT_EQ(card.writes.size(), 1u);
  EXPECT_EQ(card.writes[0].second, (MixerValues{100, 65535}));
  mixer->SetControlValues(mcLineInVolume, 100, 65535);  // always written
  EXPECT_EQ(card.writes.size(), 2u);
  mixer->SetControlValue(mcCdVolume, 0, 5);  // absent: ignored
  EXPECT_EQ(card.writes.size(), 2u);
  mixer->SetControlValues(mcMicVolume, 9, 30);  // one channel: the left value
  EXPECT_EQ(card.writes.back().second, (MixerValues{9, 9}));
  EXPECT_EQ(mixer->GetControlValue(mcMicVolume, 1), 9);
}

TEST_F(TMixerTest, ReportsOutsideChangesOnceAndItsOwnWritesNever) {
  mixer->Loaded();
  std::vector<tMixerControlType> handled;
  mixer->SetChangeHandler([&](tMixerControlType c) { handled.push_back(c); });
  mixer->SetControlValue(mcLineInVolume, 0, 5);
  card.pending = {mcLineInVolume};  // the echo of our own write
  mixer->HandleEvents();
  EXPECT_TRUE(events.empty());

  card.values[mcLineInMute] = {1, 1};
  card.values[mcLineInVolume] = {7, 7};
  card.pending = {mcLineInMute, mcLineInVolume, mcLineInMute};
  mixer->HandleEvents();
  EXPECT_EQ(events, (std::vector{mcLineInVolume, mcLineInMute}));
  EXPECT_EQ(handled, events);
  EXPECT_EQ(mixer->GetControlValue(mcLineInMute, 0), 1);
}

TEST_F(TMixerTest, AControlThatVanishesBecomesAbsent) {
  mixer->Loaded();
  card.info.erase(mcLineInVolume);
  card.pending = {mcLineInVolume};
  mixer->HandleEvents();
  EXPECT_FALSE(mixer->HasControl(mcLineInVolume));
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 0), 0);
  EXPECT_EQ(events, std::vector{mcLineInVolume});
}

TEST_F(TMixerTest, DestructionRaisesNoEventAndAsksNoWatcherToFollow) {
  mixer->Loaded();
  int handled = 0, rebuilds = 0;
  mixer->SetChangeHandler([&](tMixerControlType) { ++handled; });
  // A watcher that would look at the dying mixer's descriptors again.
  mixer->OnDescriptorsChanged = [&] { ++rebuilds; };
  card.values[mcLineInVolume] = {7, 7};
  card.pending = {mcLineInVolume};  // a change still waiting
  mixer.reset();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(rebuilds, 0);
}

}  // namespace
}  // namespace ondivo
