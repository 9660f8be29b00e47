#pragma once

// Registers the module's public classes (card, list and attachment entry objects, the engine) and
// the card control's data source with the object registry, so that the host, the engine and the
// list can create them by program identifier. Called once at start-up.
void registerSampleObjects();
