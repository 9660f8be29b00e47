#pragma once

// Registers the public classes of the sample voucher with the object registry, so that the engine
// and the list can create them by program identifier. Called once at start-up.
void registerSampleObjects();
