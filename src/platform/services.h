#pragma once
// The services a window or the start-up needs, handed over as one bundle.
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/presentation_app.h"
#include "platform/process.h"
#include "platform/window_system.h"

namespace avelin {

struct Services {
    FileSystem& files;
    Clock& clock;
    ProcessServices& process;
    Dialogs& dialogs;
    WindowSystem& windows;
};

} // namespace avelin
