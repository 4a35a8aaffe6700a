// SPDX-License-Identifier: GPL-3.0-or-later
// Included once by a fuzz target that draws text. Fontconfig keeps what it learns about each new
// face name for the life of the process; that cache is not a leak of ours.
#pragma once

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}
