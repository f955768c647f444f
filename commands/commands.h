// What the two buttons of the main window do.
#pragma once

// Ends the game's processes.
void EndGameCommand();

// Ends the game's processes and the Steam client.
void EndGameAndSteamCommand();
