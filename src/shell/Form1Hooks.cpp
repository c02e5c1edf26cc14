// Steps of the main window whose work belongs to the result log and pairing. Until that work
// fills them in they do nothing, so the window can be built and used without them.

#include "shell/Form1.h"

void Form1::ChooseLogFile()
{
    // Filled in by the result-log work: choose or create the log file, then load it.
}

void Form1::LoadCurrentCarcassWindow()
{
    // Filled in by the pairing work: load the current carcass window (hidden) with weighing off,
    // and empty the pending-carcass queue.
}

void Form1::FinishCarcass()
{
    // Filled in by the pairing work: finish the carcass that the pairing has completed.
}
