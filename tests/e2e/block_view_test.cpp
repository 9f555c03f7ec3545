// What the window shows of an applied block: volume, polarity, mute and recoup buttons, the BTL display.
#include "tests/e2e/rig.h"

#include "app/kit/button_color.h"
#include "protocol/group_block.h"
#include "protocol/scheduler.h"
#include "tests/unit/protocol_fixtures.h"

namespace k7310::test {
namespace {

class BlockView : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    rig = std::make_unique<Rig>(QStringList{}, false);
  }
  // Applies the neutral block with some bytes changed, as a file upload does.
  void Apply(const std::vector<std::pair<std::size_t, int>>& bytes) {
    std::string block = NeutralBlockText();
    for (auto [n, v] : bytes) PutByte(block, n, v);
    ASSERT_TRUE(rig->app.backend.ApplyBlock(block));
  }
  ChannelStrip& Strip() { return *rig->form.GroupBox1; }
  std::unique_ptr<Rig> rig;
};

constexpr std::size_t kMain = 226;  // Main settings record
constexpr std::size_t kHighSettings = 10, kMidSettings = 82, kLowSettings = 154;

TEST_F(BlockView, VolumeLabel) {
  const struct {
    int lo, hi;
    const char* text;
  } cases[] = {{0x00, 0x00, "Mute"}, {0x2D, 0x01, "0.0 dB"}, {0x01, 0x00, "-60.0 dB"}, {0x2C, 0x01, "-0.2 dB"},
               {0x00, 0x01, "-9.0 dB"}, {0xFF, 0x7F, "0.0 dB"}};  // the bar keeps 0..301
  for (const auto& c : cases) {
    Apply({{kMain + 2, c.lo}, {kMain + 3, c.hi}});
    EXPECT_EQ(Strip().Label1->text().toStdString(), c.text) << c.lo << " " << c.hi;
  }
  EXPECT_FALSE(rig->app.view.ApplyingModel);
}

TEST_F(BlockView, PolarityMuteAndRecoupButtons) {
  Apply({{kHighSettings + 4, 1}, {kMidSettings + 1, 0}, {kLowSettings + 4, 2}, {kMain + 6, 1}, {kMain, 1}});
  EXPECT_EQ(Strip().RzButton1->text(), QStringLiteral("-"));
  EXPECT_EQ(Strip().RzButton2->text(), QStringLiteral("+"));
  EXPECT_EQ(Strip().RzButton3->text(), QStringLiteral("-"));
  EXPECT_EQ(Strip().RzButton6->text(), QStringLiteral("-"));
  EXPECT_EQ(ButtonColor(Strip().RzButton46), kButtonNormal);
  EXPECT_EQ(ButtonColor(Strip().RzButton52), kButtonRed);
  EXPECT_EQ(ButtonColor(Strip().RzButton98), kButtonRed);
  Apply({{kMain, 7}});  // neither 0 nor 1: the recoup button keeps its colour
  EXPECT_EQ(ButtonColor(Strip().RzButton98), kButtonRed);
  Apply({});
  EXPECT_EQ(ButtonColor(Strip().RzButton98), kButtonNormal);
  EXPECT_EQ(ButtonColor(Strip().RzButton52), kButtonNormal);
}

TEST_F(BlockView, BtlDisplayFollowsTheBlock) {
  const struct {
    int mode;
    bool mid, high, image6, image7;
    int picture;
    QColor button;
  } cases[] = {{2, false, true, true, false, 2, kButtonGreen}, {3, false, false, false, false, 2, kButtonGreen},
               {1, false, true, true, false, 1, kButtonGreen}, {0, true, true, true, true, 0, kButtonNormal}};
  for (const auto& c : cases) {
    Apply({{kMain + 7, c.mode}});
    EXPECT_EQ(Strip().RzButton51->isVisibleTo(&Strip()), c.mid) << c.mode;
    EXPECT_EQ(Strip().RzButton2->isVisibleTo(&Strip()), c.mid) << c.mode;
    EXPECT_EQ(Strip().RzButton45->isVisibleTo(&Strip()), c.high) << c.mode;
    EXPECT_EQ(Strip().RzButton1->isVisibleTo(&Strip()), c.high) << c.mode;
    EXPECT_TRUE(Strip().RzButton57->isVisibleTo(&Strip())) << c.mode;  // the Low row never changes
    EXPECT_EQ(Strip().Image6->isVisibleTo(&Strip()), c.image6) << c.mode;
    EXPECT_EQ(Strip().Image7->isVisibleTo(&Strip()), c.image7) << c.mode;
    EXPECT_EQ(Strip().Image1->pixmap().toImage(), rig->form.BtlIcons[static_cast<std::size_t>(c.picture)].toImage())
        << c.mode;
    EXPECT_EQ(ButtonColor(Strip().RzButton7), c.button) << c.mode;
  }
}

TEST_F(BlockView, ApplyQueuesNothingAndClearsPendingSlots) {
  rig->app.backend.Session().LinkOpen = true;
  QueueCommand(rig->app.backend.Session(), 1);
  ASSERT_TRUE(rig->app.backend.Session().commandSlots.AnyPending());
  // Showing the block moves the volume bar, whose handler must not queue a frame for it.
  Apply({{kMain + 2, 0x10}});
  EXPECT_FALSE(rig->app.backend.Session().commandSlots.AnyPending());
  EXPECT_TRUE(rig->app.backend.Session().LinkOpen);
  rig->app.backend.Session().LinkOpen = false;
}

}  // namespace
}  // namespace k7310::test
