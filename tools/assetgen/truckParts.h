#pragma once
// Painters of the truck's parts, each in its quad's own frame: units of the model,
// origin at the quad's centre, +y towards the front.
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/truckPictures.h"

// Colour the parts are anti-aliased against, so filtered edges darken instead of turning pink.
const Colour partEdgeColour{26, 26, 29};

void paintCab(Canvas& canvas, const TruckStyle& style);      // 46 x 67, front at +33.5
void paintTrailer(Canvas& canvas, const TruckStyle& style);  // 49 x 115, front at +57.5
void paintWheel(Canvas& canvas);                             // 5 x 11

// Box, tanker and flatbed bodies, behind paintTrailer.
void paintBoxTrailer(Canvas& canvas, const TruckStyle& style);
void paintTankerTrailer(Canvas& canvas);
void paintFlatbedTrailer(Canvas& canvas);
void paintCouplingLines(Canvas& canvas);  // ahead of the front wall
