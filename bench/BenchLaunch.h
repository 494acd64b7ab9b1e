#pragma once

// Starts the application as main does, its animation timer off and its panel hidden: the
// benchmarks make every frame themselves.
void launchWithoutTicks();
