#pragma once
// Deterministic hashing and value noise that repeats every tile (256 units), so that
// textures meet themselves seamlessly when the ground tile is repeated across the world.
#include <cstdint>

const float tileUnits = 256.0f;

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t hashPoint(int x, int y, uint32_t seed);

// The hash as a float in [0, 1).
float hashUnit(int x, int y, uint32_t seed);

// Smooth value noise in [0, 1] on a lattice of cells x cells over one tile, wrapping at
// the tile's edges; cells must divide 256 for the pattern to match its neighbours.
float tileNoise(float x, float y, int cells, uint32_t seed);

// Octaves of tileNoise, each with twice the cells and half the weight, normalised to [0, 1].
float tileFbm(float x, float y, int baseCells, int octaves, uint32_t seed);
