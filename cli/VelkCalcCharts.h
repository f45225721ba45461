#pragma once
// The performance charts from the command line: the three charts as SVG and
// PNG files, and their points as JSON.

#include <string>
#include <vector>

class CalcPage;
struct PerformanceCurves;

// Writes pressure-drop, holdup and hetp, each as .svg and .png, into dir.
bool VelkCalcCharts(const CalcPage& page, const std::string& dir, const std::vector<double>& liquidLoads,
                    std::string& why);
// {"pressureDrop": [{"liquidLoad", "points": [[F, dp], ...], "flood": [F, dp]}], "holdup": [[uL, h], ...],
//  "hetp": [[F, HETP], ...]}; F in Pa^0.5, dp in mbar/m, liquid load in m3/(m2 h), holdup m3/m3, HETP m.
// A curve without a flood point (the dry line of load 0) has "flood": null.
std::string PerformanceCurvesJson(const PerformanceCurves& curves);
