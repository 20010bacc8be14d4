#include "model/decagon.h"

#include "model/geometry.h"
#include "settings/settings.h"

void InitDecagonRecord(DecagonRecord* record)
{
    if (record == nullptr)
        return;
    SetRecordDefaults(*record);
    LoadColorSettings(record);
}

int ComputeDecagon(DecagonRecord* record)
{
    if (record == nullptr || record->recordTag != kRecordTag)
        return 0;
    ComputeGeometry(*record);
    SaveSettings(record, 0, 0, SettingsFilePath);
    return 1;
}
