// The three menu actions the host's menus trigger by name.
#pragma once

// Start-up: registers the action table with the host.
void RegisterMenuActions();
// Start-up: switches shortcuts on again when MODE was left at "1".
void RestoreEnabledState();
