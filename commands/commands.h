// What the two buttons of the main window do.
#pragma once

// Ends the game's three processes through the kill script, then tells the user whether any is
// left: the failure box if so, else a status report in the right-hand box.
void EndGameCommand();

// Does what EndGameCommand does, and also ends the Steam client ("steam.exe", one process by
// name and one more by window title or name) before it looks: the failure box is shown if any of
// the game's processes, Steam or Steam's web helper is left.
void EndGameAndSteamCommand();
