#pragma once

#include "model/record.h"

// Zeroes the record, sets its defaults and reads the colours from the
// settings file.
void InitDecagonRecord(DecagonRecord* record);

// Computes every derived value, then rewrites the settings file. Returns 1
// when it computed, 0 when the record is absent or was never initialised (in
// which case nothing changes and nothing is written).
int ComputeDecagon(DecagonRecord* record);
