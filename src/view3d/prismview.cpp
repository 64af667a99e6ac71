#include "view3d/prismview.h"

namespace view3d {

namespace {

constexpr int kFaces = 4;
constexpr int kQuarter = 90;
constexpr int kFullTurn = 360;

} // namespace

TCubePositions cubePositions(int rotation)
{
    const int angle = (rotation % kFullTurn + kFullTurn) % kFullTurn;
    // Each quarter turn brings the face on the other side round to the front.
    static constexpr int kFrontByQuarter[kFaces] = {0, 3, 2, 1};
    TCubePositions positions;
    positions.front = kFrontByQuarter[angle / kQuarter];
    positions.prev = (positions.front + kFaces - 1) % kFaces;
    positions.next = (positions.front + 1) % kFaces;
    positions.rear = (positions.next + 1) % kFaces;
    return positions;
}

} // namespace view3d
