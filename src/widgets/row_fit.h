#pragma once

#include <vector>

// A control of a dialog page as its template places it, and the width its text needs.
struct RowFitControl {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Wanted = -1;       // the width its text needs; -1 for a control whose width is its own (edits, lists)
    bool Shrinks = false;  // may become narrower than the template when its text needs less
};

// Sizes each control with a text to that text and moves what follows it on its row, keeping the template's gaps
// and the columns it lines up. Left and Right of every control are changed in place.
void FitRowsToText(std::vector<RowFitControl>& controls);
