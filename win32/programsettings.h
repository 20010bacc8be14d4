#pragma once

// Sets ProgramFolder and SettingsFilePath for a Windows program from the path
// that GetModuleFileNameW gives for it (as UTF-8). Both programs start through here, so
// that the dialog and the command line always read the same file.
void LocateProgramSettings();
