#pragma once

#include "model/record.h"

// The pure computation: every derived value and the ten vertices from
// expectedHeight. A zero height of either sign is replaced by 100.0 first.
// Touches no file; the record's tag is not looked at.
void ComputeGeometry(DecagonRecord& record);

// Fills vertices from externalRadius and the vertex table.
void ComputeVertices(DecagonRecord* record);

// The inradius that the computation derives from a circumradius: the
// whole-number part of the radius times cos 18 degrees.
double InradiusFromRadius(double externalRadius);
