#include "tools/assetgen/tileList.h"

namespace {

const RoadShape noRoad{RoadKind::none, 0, 0};
const RoadShape vertical{RoadKind::vertical, 0, 0};
const RoadShape horizontal{RoadKind::horizontal, 0, 0};
// Each corner turns about the corner of the square between the two sides it joins.
const RoadShape bottomRight{RoadKind::corner, 256, 0};
const RoadShape leftBottom{RoadKind::corner, 0, 0};
const RoadShape topLeft{RoadKind::corner, 0, 256};
const RoadShape rightTop{RoadKind::corner, 256, 256};

}  // namespace

const TileDesc tilePictures[tilePictureCount] = {
    {"blank", noRoad, Heading::none, false, Ground::grass},
    {"cornerB2R", bottomRight, Heading::none, false, Ground::grass},
    {"cornerL2B", leftBottom, Heading::none, false, Ground::grass},
    {"cornerT2L", topLeft, Heading::none, false, Ground::grass},
    {"cornerR2T", rightTop, Heading::none, false, Ground::grass},
    {"straightB2T", vertical, Heading::up, false, Ground::grass},
    {"straightL2R", horizontal, Heading::right, false, Ground::grass},
    {"straightT2B", vertical, Heading::down, false, Ground::grass},
    {"straightR2L", horizontal, Heading::left, false, Ground::grass},
    {"finishLineL2R", horizontal, Heading::right, true, Ground::grass},
    {"finishLineR2L", horizontal, Heading::left, true, Ground::grass},
    {"blank2", noRoad, Heading::none, false, Ground::meadow},
    {"blank3", noRoad, Heading::none, false, Ground::gravel},
    {"blank4", noRoad, Heading::none, false, Ground::sand},
    {"blank5", noRoad, Heading::none, false, Ground::field},
};

const SurfaceMapDesc surfaceMaps[surfaceMapCount] = {
    {"blank", noRoad},       {"cornerB2R", bottomRight}, {"cornerL2B", leftBottom},   {"cornerT2L", topLeft},
    {"cornerR2T", rightTop}, {"straightT2B", vertical},  {"straightL2R", horizontal},
};
