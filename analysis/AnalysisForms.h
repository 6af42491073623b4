#pragma once

// Registers every built form of the decision-support functions with the main
// window's function positions.
void RegisterAnalysisForms();
