#pragma once
// Makes documents created from now on play through the sound card: their
// clip player and their track mix become the real players.
void installDocPlayers();
