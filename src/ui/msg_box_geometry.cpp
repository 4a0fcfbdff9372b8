// The balloon's geometry; see msg_box_geometry.h.
#include "ui/msg_box_geometry.h"

#include <algorithm>

namespace quelvar {

PointerCorner PointerCornerFor(float x, float y, int screenWidth, int screenHeight) {
  const bool left = x <= static_cast<float>(screenWidth) / 2.0f;
  const bool upper = y <= static_cast<float>(screenHeight) / 2.0f;
  if (upper) return left ? PointerCorner::UpperLeft : PointerCorner::UpperRight;
  return left ? PointerCorner::LowerLeft : PointerCorner::LowerRight;
}

BalloonPoint BalloonOrigin(PointerCorner corner, int x, int y, int width, int height) {
  const bool right = corner == PointerCorner::UpperRight || corner == PointerCorner::LowerRight;
  const bool top = corner == PointerCorner::UpperLeft || corner == PointerCorner::UpperRight;
  return {right ? x + kBalloonPointerOffset - width : x - kBalloonPointerOffset,
          top ? y : y - height};
}

BalloonRect BalloonBody(int width, int height) {
  return {0, kBalloonTopInset, width - kBalloonRightInset, height - kBalloonBottomInset};
}

BalloonRect BalloonShadowOuter(int width, int height) {
  const BalloonRect body = BalloonBody(width, height);
  return {body.left + kBalloonShadowDepth, body.top + kBalloonShadowDepth,
          body.right + kBalloonShadowDepth, body.bottom + kBalloonShadowDepth};
}

std::array<BalloonPoint, 3> BalloonPointer(PointerCorner corner, int width, int height) {
  const BalloonRect body = BalloonBody(width, height);
  const bool right = corner == PointerCorner::UpperRight || corner == PointerCorner::LowerRight;
  const bool top = corner == PointerCorner::UpperLeft || corner == PointerCorner::UpperRight;
  const int tipX = right ? width - kBalloonPointerOffset : kBalloonPointerOffset;
  const int tipY = top ? 0 : height;
  // The base reaches two pixels into the body so the two shapes join.
  const int baseY = top ? body.top + 2 : body.bottom - 2;
  // The triangle's upright edge sits on the outer side, its slant leans inwards.
  const int farX = right ? tipX - kBalloonPointerBase : tipX + kBalloonPointerBase;
  return {{{tipX, tipY}, {tipX, baseY}, {farX, baseY}}};
}

int ShadowK(int distance) {
  if (distance < 0) distance = 0;
  return std::min(60 + 20 * (distance / 2), 180);
}

std::uint8_t ShadowChannel(std::uint8_t channel, int k, int intensity) {
  return static_cast<std::uint8_t>(channel * (k + intensity) / 256);
}

std::int16_t ClampAutoCloseSeconds(std::int16_t seconds) {
  return std::clamp<std::int16_t>(seconds, 1, 32);
}

std::int16_t ClampShadowIntensity(std::int16_t intensity) {
  return std::clamp<std::int16_t>(intensity, 0, 75);
}

}  // namespace quelvar
