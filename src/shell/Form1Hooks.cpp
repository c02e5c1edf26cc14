// Steps of the main window carried out by the results part of the station.

#include "shell/Form1.h"

#include "carcass/FrmLED.h"
#include "shell/StationResults.h"

void Form1::ChooseLogFile()
{
    results_->ChooseLogFile();
}

void Form1::LoadCurrentCarcassWindow()
{
    // Loaded now, shown only on request; with weighing off its pending and manual input frames
    // stay hidden.
    results_->CurrentCarcassWindow().HideWeighingFrames();
}

void Form1::FinishCarcass()
{
    results_->FinishCarcass();
}
