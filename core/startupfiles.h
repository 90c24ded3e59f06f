#pragma once

#include <optional>

namespace parlix {

class DataFolder;
struct ProgramState;

// Reads the small configuration files of the data folder into the program
// state: "persorso", "intestazione", "progra", "residui.txt". A missing file
// or a value that does not convert leaves the value as it was; nothing is
// ever reported.
void loadStartupFiles(ProgramState& state);

// The toolbar's text alignment (0 below the images, 1 beside them) and the
// tree panel's width in twips, as stored in "tbta": two 16-bit integers, the
// second being the width less 100.
struct PanelSettings
{
    int textAlignment = 1;
    int panelWidthTwips = 2500;
};

// The stored settings, or the fall-back (1, 2500) when the file is missing or
// does not hold an alignment of 0 or 1 and a width that stays within 16 bits.
PanelSettings readPanelSettings(const DataFolder& folder);

// The tree panel's rules: narrower than 2300 twips puts the text below the
// images; narrower than 1850 is widened to 1850.
PanelSettings applyPanelRules(PanelSettings settings);

} // namespace parlix
