#pragma once

// Sets ProgramFolder and SettingsFilePath for a Windows program from the path
// that GetModuleFileNameA gives for it. Both programs start through here, so
// that the dialog and the command line always read the same file.
void LocateProgramSettings();
