// The veil update written out step by step, the yardstick for the production
// update in benchmarks and tests.
#pragma once

#include "engine/veil.h"

// T = 0.4 and 1/T = 2.5, written as the numbers they are.
constexpr float referenceCutoff = 0.4f;
constexpr float referenceInverseCutoff = 1.0f / referenceCutoff;

void referenceUpdateVeil(Veil& veil, float dt);
