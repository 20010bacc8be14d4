// Interim entry point: computes the default decagon and prints what the
// dialog will show. The dialog replaces it.
#include "model/decagon.h"
#include "model/numtext.h"
#include "settings/settings.h"

#include <cstdio>

int main()
{
    LocateSettingsFile(ExecutablePath());
    DecagonRecord record;
    InitDecagonRecord(&record);
    ComputeDecagon(&record);
    std::printf("Expected height: %s\n", FormatFixed(record.expectedHeight, 4).c_str());
    std::printf("External Radius: %s\n", FormatFixed(record.externalRadius, 4).c_str());
    std::printf("Internal Radius: %s\n", FormatFixed(record.internalRadius, 4).c_str());
    std::printf("Settings: %s\n", SettingsFilePath.c_str());
    return 0;
}
