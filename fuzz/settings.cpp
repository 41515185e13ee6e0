// The settings file "config/app.cfg" under the program folder: read at
// start, its vibrato preset put on a new note, then saved and read again,
// which must give the same settings.
#include <string>

#include "model/current/Note.h"
#include "platform/ExeDir.h"
#include "shell/services/AppConfig.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool home = (setExeDirOverride(CString::fromUtf8(hvfuzz::scratchFolder() + "home")), true);
    (void)home;
    hvfuzz::writeScratchFile("home/config/app.cfg", data, size);
    initAppConfig();
    CAppConfigModel& config = getAppConfig();

    HVCurrentModel::Note note;
    note.vibrato.assign(config.vibPreins);

    const std::string read = config.toString();
    if (!saveAppConfig()) hvfuzz::fail("settings not saved");
    initAppConfig();
    if (getAppConfig().toString() != read) hvfuzz::fail("saved settings read back differently");
    return 0;
}
