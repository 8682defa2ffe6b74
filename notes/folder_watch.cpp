// FolderWatch on FindFirstChangeNotificationW.
#include "notes/folder_watch.h"

#include "notes/note_files.h"
#include "platform/wide_text.h"

FolderWatch::FolderWatch(const char* relativeFolder) {
    const std::string path = NotePath(relativeFolder);
    if (path.empty()) return;
    *m_handle.out() = ::FindFirstChangeNotificationW(
        WideFromUtf8(path).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
}

bool FolderWatch::Changed() {
    if (!m_handle.valid() || ::WaitForSingleObject(m_handle.get(), 0) != WAIT_OBJECT_0) return false;
    // Every change until now is taken; the next one signals again.
    if (!::FindNextChangeNotification(m_handle.get())) m_handle.Close();
    return true;
}
