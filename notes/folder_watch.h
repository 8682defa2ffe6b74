// FolderWatch: tells when a folder of the notes root changed (a file added, removed, renamed or
// written, by this program or any other: a sync client, a second PC), without waiting for it.
#pragma once

#include <string>

#include "platform/handles.h"

class FolderWatch {
public:
    // Watches NotePath(relativeFolder) ("日历", "备忘"); a folder that cannot be watched never
    // reports a change.
    explicit FolderWatch(const char* relativeFolder);
    // True when something changed since the watch began or since the last call that answered true.
    bool Changed();

private:
    ScopedChangeNotification m_handle;
};
