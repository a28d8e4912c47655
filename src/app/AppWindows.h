// Every window of the program, created once in start-up order and wired together:
// main window (store, serial component), terminal, data window, the two edit dialogs and
// the offset list. Only the main window is shown; the others are shown and hidden.
#pragma once

#include "FormMain.h"
#include "FormMemory.h"
#include "FormOffsetFreq.h"
#include "FormTerminal.h"
#include "TFormMemChEdit.h"
#include "TFormSearchBankEdit.h"

struct AppWindows {
    AppWindows();
    ~AppWindows();

    TFormMain formMain;
    TFormTerminal formTerminal;
    TFormMemory formMemory;
    TFormMemChEdit formMemChEdit;
    TFormSearchBankEdit formSearchBankEdit;
    TFormOffsetFreq formOffsetFreq;  // its creation fills the offset table with the defaults
};
