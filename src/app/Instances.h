// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TmappeForm;

namespace struktur {

class TeditForm;
class Tmainform;
class Tprintform;

/// The program's four windows, each created once for the whole run by `createWindows()`.
extern Tmainform* mainform;
extern ::TmappeForm* mappeForm;
extern TeditForm* editForm;
extern Tprintform* printform;

/// Creates the four windows in their order (main window, folder chooser, document editor,
/// print window; the last two take the program folder from the main window) and wires them
/// together. The other windows belong to the main window, which alone stands on the taskbar,
/// and close when it closes.
void createWindows();

/// Destroys the four windows (the end of the program, or of a test).
void destroyWindows();

} // namespace struktur
