#pragma once
// Watches the data folder and everything below it for changes, on the
// message-loop thread: the loop also waits for the watch's event and then
// lets it take what the system reported. Changes are collected and a window
// timer fires once about a second after the first of a batch, so a sync
// service replacing many files is handled in one go. Nothing runs while
// nothing changes.
#include <memory>
#include <string>

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
    bool watching() const { return static_cast<bool>(folder_); }
    // Signalled when the system has reported changes; null when not watching.
    HANDLE event() const { return watching() ? event_.get() : nullptr; }
    // Collects what the system reported, if anything, and watches on.
    void poll();
    // What was collected since the last take; the timer is stopped.
    FolderChanges take();
    // Puts changes back to be taken again after another collecting period
    // (they could not be handled now).
    void postpone(const FolderChanges& changes);

private:
    void collect(DWORD bytes);
    bool issue();
    void armTimer();

    UniqueFile folder_;
    UniqueKernel event_;
    OVERLAPPED overlapped_{};
    std::unique_ptr<DWORD[]> buffer_;
    bool pending_ = false;
    HWND window_ = nullptr;
    UINT_PTR timerId_ = 0;
    UINT collectMilliseconds_ = 1000;
    bool timerArmed_ = false;
    FolderChanges changes_;
};

} // namespace Brisvane
