#pragma once

// Registers every built form of the goods and stock functions with the main
// window's function positions.
void RegisterStockForms();
