// The veil update written out step by step, the yardstick for the production
// update in benchmarks and tests.
#pragma once

#include "engine/veil.h"

void referenceUpdateVeil(Veil& veil, float dt);
