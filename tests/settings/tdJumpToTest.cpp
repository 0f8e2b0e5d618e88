#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "settings/tdJumpTo.h"

namespace ondivo {
namespace {

const tJumpBand kFM05{true, 87.0, 108.0, 0.05};
const tJumpBand kAM9{true, 0.531, 1.62, 0.009};
const tJumpBand kNoAM{false, 0.531, 1.62, 0};

class JumpToDialogTest : public ::testing::Test {
 protected:
  tdJumpTo& Open(tJumpBand am, tBand band, double frequency, char separator = '.') {
    dialog_ = std::make_unique<tdJumpTo>(
        nullptr, tJumpToValues(kFM05, am, band, frequency),
        [this](const std::string& t) { topics_.push_back(t); }, separator);
    dialog_->show();
    freq_ = dialog_->findChild<QLineEdit*>("Freq");
    slider_ = dialog_->findChild<QSlider*>("sFreq");
    return *dialog_;
  }
  void Type(const QString& text) {
    freq_->selectAll();
    QTest::keyClick(freq_, Qt::Key_Backspace);
    QTest::keyClicks(freq_, text);
  }
  void Click(const char* name) {
    QTest::mouseClick(dialog_->findChild<QPushButton*>(name), Qt::LeftButton);
  }

  std::unique_ptr<tdJumpTo> dialog_;
  QLineEdit* freq_ = nullptr;
  QSlider* slider_ = nullptr;
  std::vector<std::string> topics_;
};

TEST_F(JumpToDialogTest, TypedFrequenciesSnapOntoTheGridAndTheLimits) {
  tdJumpTo& d = Open(kAM9, bFM, 98.5);
  EXPECT_EQ(freq_->text(), "98.500");
  EXPECT_EQ(d.focusWidget(), freq_);
  Type("101.27");
  EXPECT_EQ(freq_->text(), "101.27");  // left as typed
  EXPECT_EQ(slider_->value(), 101250);
  EXPECT_EQ(d.Chosen(), (tdJumpTo::Result{bFM, 101.25}));
  Type("120");
  EXPECT_EQ(d.Chosen(), (tdJumpTo::Result{bFM, 108.0}));
  EXPECT_EQ(slider_->value(), 108000);
  Type("50");
  EXPECT_EQ(d.Chosen(), (tdJumpTo::Result{bFM, 87.0}));
  Type("1x2");  // the edit takes digits and one separator only
  EXPECT_EQ(freq_->text(), "12");
}

TEST_F(JumpToDialogTest, EachBandComesBackWithItsLastValue) {
  Open(kAM9, bFM, 98.5);
  Type("101.27");
  Click("btAM");
  EXPECT_EQ(dialog_->findChild<QLabel*>("LFreq")->text(), "kHz");
  EXPECT_EQ(freq_->text(), "531");  // in the unit its label names
  EXPECT_EQ(freq_->maxLength(), 5);
  EXPECT_EQ(slider_->minimum(), 531);
  EXPECT_EQ(slider_->maximum(), 1620);
  EXPECT_EQ(slider_->singleStep(), 9);
  slider_->setValue(1000);
  EXPECT_EQ(freq_->text(), "999");
  Click("btFM");
  EXPECT_EQ(freq_->text(), "101.250");  // the value last reached, not the card's
  EXPECT_EQ(freq_->maxLength(), 7);
  EXPECT_EQ(slider_->value(), 101250);
  Click("btAM");
  EXPECT_EQ(dialog_->Chosen(), (tdJumpTo::Result{bAM, 0.999}));
  Type("1400");
  EXPECT_EQ(dialog_->Chosen(), (tdJumpTo::Result{bAM, 1.404}));
  EXPECT_EQ(slider_->value(), 1404);
  Type("0.702");  // typed in MHz, still understood
  EXPECT_NEAR(dialog_->Chosen().Frequency, 0.702, 1e-9);
}

TEST_F(JumpToDialogTest, AnFMOnlyCardHasNoAMButton) {
  Open(kNoAM, bFM, 90.0);
  EXPECT_FALSE(dialog_->findChild<QPushButton*>("btAM")->isEnabled());
  EXPECT_TRUE(dialog_->findChild<QPushButton*>("btFM")->isChecked());
}

TEST_F(JumpToDialogTest, TheLocalesSeparatorIsShownAndRead) {
  tdJumpTo& d = Open(kAM9, bFM, 98.5, ',');
  EXPECT_EQ(freq_->text(), "98,500");
  Type("101,27");
  EXPECT_EQ(d.Chosen(), (tdJumpTo::Result{bFM, 101.25}));
  Click("btHelp");
  EXPECT_EQ(topics_, std::vector<std::string>{"Tuning_radio_frequency"});
}

TEST(JumpToDialogRunTest, OkHandsBackBandAndSnappedFrequencyCancelNothing) {
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    auto* freq = d->findChild<QLineEdit*>("Freq");
    freq->selectAll();
    QTest::keyClicks(freq, "101.27");
    QTest::keyClick(freq, Qt::Key_Return);  // Ok is the default button
  });
  const auto result = tdJumpTo::Run(nullptr, tJumpToValues(kFM05, kAM9, bFM, 98.5), {});
  EXPECT_EQ(result, (tdJumpTo::Result{bFM, 101.25}));

  QTimer::singleShot(0, [] {
    QTest::mouseClick(QApplication::activeModalWidget()->findChild<QPushButton*>("btCancel"),
                      Qt::LeftButton);
  });
  EXPECT_EQ(tdJumpTo::Run(nullptr, tJumpToValues(kFM05, kAM9, bFM, 98.5), {}), std::nullopt);
}

}  // namespace
}  // namespace ondivo
