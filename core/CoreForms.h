#pragma once

// Registers every built form of the application core with the main window's
// function positions.
void RegisterCoreForms();
