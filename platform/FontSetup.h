#pragma once
// The program's texts name the Windows font 宋体 (SimSun), which Linux does
// not have; it is mapped once to an installed CJK font so that every Chinese
// text renders.

#include <QString>

// Registers the substitutes for 宋体 and related Windows font names.
void InstallFontSubstitutes();
// The family the window and its controls use.
QString DefaultUiFamily();
