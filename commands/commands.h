// What the two buttons of the main window do.
#pragma once

// Ends the game's three processes through the kill script, then tells the user whether any is
// left: the failure box if so, else a status report in the right-hand box.
void EndGameCommand();

// Ends the game's processes and the Steam client.
void EndGameAndSteamCommand();
