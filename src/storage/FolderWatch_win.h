#pragma once
// Watches the data folder and everything below it for changes, on the
// message-loop thread: the loop also waits for the watch's event and then
// lets it take what the system reported. Changes are collected and a window
// timer fires once about a second after the first of a batch, so a sync
// service replacing many files is handled in one go. Nothing runs while
// nothing changes.
#include <memory>
#include <string>
#include <vector>

#include "storage/File_win.h"
#include "storage/OutsideChange.h"

namespace Brisvane {

class FolderWatch {
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch();

    // `folder` ends in "\"; the timer `timerId` of `window` tells that changes
    // wait to be taken. False when the folder cannot be watched.
    bool start(const std::wstring& folder, HWND window, UINT_PTR timerId, UINT collectMilliseconds = 1000);
    void stop();
    bool watching() const { return !watches_.empty(); }
    // One more folder below the data folder ("notes", "notes\<guid>"),
    // without its subfolders: for systems whose tree watch does not see into
    // folders that existed when it began. False when it cannot be watched.
    bool watchFolder(const std::wstring& relative);
    void unwatchFolder(const std::wstring& relative);
    bool watchesFolder(const std::wstring& relative) const;
    // The folders watched besides the data folder itself.
    std::vector<std::wstring> extraFolders() const;
    // Signalled when the system has reported changes; null when not watching.
    HANDLE event() const { return watching() ? event_.get() : nullptr; }
    // Collects what the system reported, if anything, and watches on.
    void poll();
    // What was collected since the last take; the timer is stopped.
    FolderChanges take();
    // Puts changes back to be taken again after another collecting period
    // (they could not be handled now, or a file could not be read yet).
    void postpone(const FolderChanges& changes);
    void postpone(const std::wstring& noteGuid);
    void postponeSettings();
    bool holdsChanges() const { return !changes_.empty(); }

private:
    struct Watch {
        std::wstring relative; // empty for the data folder, watched with its tree
        UniqueFile folder;
        OVERLAPPED overlapped{};
        std::unique_ptr<DWORD[]> buffer;
        DWORD bufferBytes = 0;
        bool pending = false;
    };
    std::unique_ptr<Watch> open(const std::wstring& relative, DWORD bufferBytes);
    void collect(const Watch& watch, DWORD bytes);
    bool issue(Watch& watch);
    void cancel(Watch& watch);
    void armTimer();

    std::wstring root_;
    std::vector<std::unique_ptr<Watch>> watches_;
    UniqueKernel event_;
    HWND window_ = nullptr;
    UINT_PTR timerId_ = 0;
    UINT collectMilliseconds_ = 1000;
    bool timerArmed_ = false;
    FolderChanges changes_;
};

} // namespace Brisvane
