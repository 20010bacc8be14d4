#include "model/record.h"

#include <cstring>

void SetRecordDefaults(DecagonRecord& record)
{
    std::memset(&record, 0, sizeof record);
    record.recordTag = kRecordTag;
    record.diagonalChoice = 1;
    record.showExternalCircle = 1;
    record.showInternalCircle = 1;
    record.angle3D = kDefaultAngle3D;
    record.expectedHeight = kDefaultExpectedHeight;
    record.outlineColor = kDefaultOutlineColor;
    record.internalCircleColor = kDefaultInternalCircleColor;
    record.externalCircleColor = kDefaultExternalCircleColor;
    record.backgroundColor = kDefaultBackgroundColor;
    for (int row = 0; row < kVertexCount; ++row)
        record.diagonalColors[row] = kDefaultDiagonalColors[row];
}
