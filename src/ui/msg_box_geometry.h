// The balloon's shape, in the window's own pixels: where the box stands against the point it
// points to, the body, the shadow band with its darkening factors, and the pointer triangle.
#pragma once
#include <array>
#include <cstdint>

namespace quelvar {

struct BalloonPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const BalloonPoint&, const BalloonPoint&) = default;
};

struct BalloonRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const BalloonRect&, const BalloonRect&) = default;
};

// The body's insets from the window's edges and its corner diameter.
inline constexpr int kBalloonTopInset = 20;
inline constexpr int kBalloonRightInset = 14;
inline constexpr int kBalloonBottomInset = 32;
inline constexpr int kBalloonCornerDiameter = 20;
// How far the window reaches past the point it points to, sideways.
inline constexpr int kBalloonPointerOffset = 42;
// The shadow band's depth to the right of and below the body.
inline constexpr int kBalloonShadowDepth = 14;
// The pointer triangle's base width along the body's edge.
inline constexpr int kBalloonPointerBase = 20;

// The pointer's corner: 4 upper left, 2 upper right, 3 lower left, 1 lower right, by the
// quarter of the screen the point lies in (the middle counts as left and upper).
enum class PointerCorner { LowerRight = 1, UpperRight = 2, LowerLeft = 3, UpperLeft = 4 };

PointerCorner PointerCornerFor(float x, float y, int screenWidth, int screenHeight);

// The window's top-left corner for a window `width` x `height` placed against the point.
BalloonPoint BalloonOrigin(PointerCorner corner, int x, int y, int width, int height);

// The body (a rounded rectangle) and the shadow band's outer rectangle (the body moved down
// and right by the shadow's depth), in window coordinates.
BalloonRect BalloonBody(int width, int height);
BalloonRect BalloonShadowOuter(int width, int height);

// The pointer triangle: its tip lies on the point, its base overlaps the body's edge.
std::array<BalloonPoint, 3> BalloonPointer(PointerCorner corner, int width, int height);

// The darkening step k of a shadow pixel `distance` pixels out from the body: 60 next to it,
// growing by 20 every second pixel up to 180.
int ShadowK(int distance);
// A colour channel darkened by (k + intensity) / 256.
std::uint8_t ShadowChannel(std::uint8_t channel, int k, int intensity);

// Argument clamps: the self-closing time in seconds and the shadow's lightness.
std::int16_t ClampAutoCloseSeconds(std::int16_t seconds);  // 1 to 32
std::int16_t ClampShadowIntensity(std::int16_t intensity);  // 0 to 75

}  // namespace quelvar
