// The balloon's placement against its point, its shape and the shadow's factors.
#include "ui/msg_box_geometry.h"

#include <gtest/gtest.h>

namespace quelvar {
namespace {

TEST(BalloonPlacement, PointerCornerFollowsTheScreenQuarter) {
  struct Case {
    float x, y;
    PointerCorner corner;
  };
  const Case cases[] = {
      {100, 100, PointerCorner::UpperLeft},  {900, 100, PointerCorner::UpperRight},
      {100, 700, PointerCorner::LowerLeft},  {900, 700, PointerCorner::LowerRight},
      // The middle counts as left and upper.
      {512, 384, PointerCorner::UpperLeft},  {512.5f, 384, PointerCorner::UpperRight},
      {512, 384.5f, PointerCorner::LowerLeft},
      // The tray notice's point: 40 pixels left of the right edge, on the bottom edge.
      {984, 768, PointerCorner::LowerRight},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointerCornerFor(c.x, c.y, 1024, 768), c.corner) << c.x << "," << c.y;
  }
}

TEST(BalloonPlacement, WindowStandsFortyTwoPixelsPastThePoint) {
  const int w = 300, h = 150, x = 500, y = 400;
  // Upper left: below and to the right, left edge 42 left of the point, top at its height.
  EXPECT_EQ(BalloonOrigin(PointerCorner::UpperLeft, x, y, w, h), (BalloonPoint{458, 400}));
  // Upper right: below and to the left, right edge 42 right of the point.
  EXPECT_EQ(BalloonOrigin(PointerCorner::UpperRight, x, y, w, h), (BalloonPoint{242, 400}));
  // Lower left: above and to the right, bottom edge at the point's height.
  EXPECT_EQ(BalloonOrigin(PointerCorner::LowerLeft, x, y, w, h), (BalloonPoint{458, 250}));
  // Lower right: above and to the left.
  EXPECT_EQ(BalloonOrigin(PointerCorner::LowerRight, x, y, w, h), (BalloonPoint{242, 250}));
}

TEST(BalloonShape, PointerTipLiesOnThePoint) {
  const int w = 300, h = 150, x = 500, y = 400;
  for (PointerCorner corner : {PointerCorner::UpperLeft, PointerCorner::UpperRight,
                               PointerCorner::LowerLeft, PointerCorner::LowerRight}) {
    const BalloonPoint origin = BalloonOrigin(corner, x, y, w, h);
    const auto pointer = BalloonPointer(corner, w, h);
    EXPECT_EQ(origin.x + pointer[0].x, x) << static_cast<int>(corner);
    EXPECT_EQ(origin.y + pointer[0].y, y) << static_cast<int>(corner);
    // The base reaches into the body so the two shapes join.
    const BalloonRect body = BalloonBody(w, h);
    for (int i = 1; i < 3; ++i) {
      EXPECT_GT(pointer[i].y, body.top);
      EXPECT_LT(pointer[i].y, body.bottom);
      EXPECT_GE(pointer[i].x, body.left + kBalloonCornerDiameter / 2);
      EXPECT_LE(pointer[i].x, body.right - kBalloonCornerDiameter / 2);
    }
  }
}

TEST(BalloonShape, BodyAndShadowKeepTheirInsets) {
  EXPECT_EQ(BalloonBody(300, 150), (BalloonRect{0, 20, 286, 118}));
  // The shadow band fills the right inset and lies below the body.
  const BalloonRect shadow = BalloonShadowOuter(300, 150);
  EXPECT_EQ(shadow.right, 300);
  EXPECT_EQ(shadow.bottom, 132);
  EXPECT_EQ(shadow.left, 14);
  EXPECT_EQ(shadow.top, 34);
}

TEST(BalloonShadow, FactorGrowsByTwentyEverySecondPixelUpToOneEighty) {
  std::vector<int> ks;
  for (int distance = 0; distance < kBalloonShadowDepth + 4; ++distance) {
    ks.push_back(ShadowK(distance));
  }
  const std::vector<int> expected = {60,  60,  80,  80,  100, 100, 120, 120, 140,
                                     140, 160, 160, 180, 180, 180, 180, 180, 180};
  EXPECT_EQ(ks, expected);
  // The band's outermost pixel reaches the lightest step.
  EXPECT_EQ(ShadowK(kBalloonShadowDepth - 1), 180);
}

TEST(BalloonShadow, ChannelIsScaledByKPlusIntensityOver256) {
  EXPECT_EQ(ShadowChannel(255, 60, 0), 59);
  EXPECT_EQ(ShadowChannel(200, 180, 75), 199);  // the lightest factor, 255/256
  EXPECT_EQ(ShadowChannel(128, 100, 28), 64);
  EXPECT_EQ(ShadowChannel(0, 180, 75), 0);
}

TEST(MsgBoxClamps, TimeAndIntensityStayInRange) {
  const std::pair<std::int16_t, std::int16_t> times[] = {{-5, 1}, {0, 1}, {1, 1}, {5, 5},
                                                         {32, 32}, {33, 32}, {1000, 32}};
  for (const auto& [in, out] : times) EXPECT_EQ(ClampAutoCloseSeconds(in), out) << in;
  const std::pair<std::int16_t, std::int16_t> intensities[] = {{-1, 0}, {0, 0}, {40, 40},
                                                               {75, 75}, {76, 75}, {300, 75}};
  for (const auto& [in, out] : intensities) EXPECT_EQ(ClampShadowIntensity(in), out) << in;
}

}  // namespace
}  // namespace quelvar
