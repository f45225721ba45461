#pragma once
// The fields of the calculation page added for the engineer's limits, the
// diameter step and the column design's margin and maxima.

#include "ColumnDesign.h"
#include "DesignLimits.h"

inline constexpr const char* kColumnFields[] = {kLimitFloodField,   kLimitFsField,      kLimitBedDpField,
                                                kLimitWettingField, kDiameterStepField, kHetpMarginField,
                                                kBedMaxHeightField, kBedMaxStagesField};
