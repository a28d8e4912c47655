// Waits that block the window thread, as the port handling requires between opening and
// closing steps. Tests may scale them down; the program always waits the full time.
#pragma once

struct WindowWait {
    // 1.0 in the program. Set only by tests (for example 0.0 to skip the waits).
    static double scale;

    static void sleepMs(int ms);
};
