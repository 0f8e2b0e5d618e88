// The application object the program runs under.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include "mixer/MixerErrors.h"

namespace ondivo {
namespace {

TEST(OndivoApplicationTest, AnErrorEscapingAHandlerBeepsAndIsLogged) {
  QEventLoop loop;
  bool after = false;
  QTimer::singleShot(0, [] { throw eMMError(7, "snd_mixer_selem_set_playback_volume"); });
  QTimer::singleShot(0, [&] {
    after = true;
    loop.quit();
  });
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(loop.exec());
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(after) << "the loop went on after the error";
  EXPECT_NE(log.find("snd_mixer_selem_set_playback_volume"), std::string::npos) << log;
}

// Qt appends the display name to every window title once one is set; the panel's title is
// exactly "Ondivo - " and the station. Without one, the display name follows the name.
TEST(OndivoApplicationTest, NoDisplayNameIsAppendedToTheTitles) {
  EXPECT_EQ(QCoreApplication::applicationName(), "Ondivo");
  QCoreApplication::setApplicationName("probe");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
  QCoreApplication::setApplicationName("Ondivo");
}

}  // namespace
}  // namespace ondivo
