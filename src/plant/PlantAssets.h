#pragma once
// The pages' stylesheet and script, served by the program itself: a plant network has no internet.

extern const char* const kPlantCss;
extern const char* const kPlantJs;
