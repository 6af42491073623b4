#pragma once

// Registers every built form of the members and services functions with the
// main window's function positions.
void RegisterMembersForms();
