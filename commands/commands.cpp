#include "commands/commands.h"

void EndGameCommand() {}

void EndGameAndSteamCommand() {}
