#pragma once

namespace ui {

// Gives the running application the program's one look: its font, and
// everything else that makes a window read the same in the program and in
// every test. Called once, after the application object exists.
void applyProgramLook();

} // namespace ui
