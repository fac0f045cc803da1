#include "app/settings_file.h"

#include "fileio/disk_file.h"

void LoadDemoSettings(VDemoSettings* settings) {
    *settings = VDemoSettings{};
    ClassVDiskFile file;
    if (!file.Open(kSettingsFileName, VOPEN_READ)) return;
    file.Read(settings, sizeof(*settings));
    file.Close();
}

void SaveDemoSettings(const VDemoSettings& settings) {
    ClassVDiskFile file;
    if (!file.Create(kSettingsFileName)) return;
    file.Write(&settings, sizeof(settings));
    file.Close();
}
