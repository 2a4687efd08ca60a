#pragma once
// The application object: owns the documents and the groups for the whole run
// (through its portable core) and the hidden main window that receives every
// notification not addressed to a sticky.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "app/AppCore.h"
#include "app/TrayMenuGate.h"
#include "base/ProgramName.h"
#include "base/UniqueHandle_win.h"
#include "dialogs/DialogHost_win.h"
#include "note/NoteHost_win.h"
#include "storage/DiskState.h"
#include "storage/FolderWatch_win.h"
#include "storage/Hotkey.h"
#include "storage/History_win.h"
#include "storage/KeptCopy_win.h"
#include "storage/Trash_win.h"

namespace Brisvane {

class Note;

inline constexpr UINT WM_TRAYICON = WM_APP + 4;
inline constexpr wchar_t mainWindowClassName[] = L"TackaroonNotesMainWindowClass";
inline constexpr wchar_t instanceMutexName[] = L"TackaroonNotesAppMutex";
inline constexpr int largeIconId = 101;
inline constexpr int smallIconId = 105;
inline constexpr UINT trayIconId = 1;
inline constexpr UINT fullScreenPeriod = 300;
inline constexpr wchar_t settingsFileName[] = L"settings.json";
// The main window's timer that fires once the folder watch collected changes.
inline constexpr UINT_PTR TIMER_FOLDER_WATCH = 3;
// The one timer of all reminders: it fires when the nearest is due.
inline constexpr UINT_PTR TIMER_REMINDER = 4;
// Posted to the main window: the reminders are looked at once it arrives.
inline constexpr UINT WM_CHECK_REMINDERS = WM_APP + 27;

// The sticky and dialog interfaces come before the core, so that the shared
// tooltip they hold outlives the stickies the core destroys.
class TackaroonNotes : public DialogHost, public NoteHost, public AppCore {
public:
    // `folder` is the data folder, ending in "\": the executable's folder in the
    // program, a scratch folder in tests.
    explicit TackaroonNotes(std::wstring folder);
    ~TackaroonNotes() override;

    // Registers the main window class once per process.
    static bool registerMainWindowClass(HINSTANCE instance);
    // Creates the hidden main window bound to this object.
    HWND createMainWindow(HINSTANCE instance);
    // Raw input from every input device and touch, delivered even in the background.
    void registerForInput();

    bool startUp();
    // The whole shutdown: finishRun, then every sticky taken down.
    void shutDown();
    // What the shutdown must do before the process may end: saves, the trash
    // purge, the watch, the tooltip and the icon; the stickies stay.
    void finishRun();
    // The program's own end once its main window goes: finishRun, then the
    // process ends with the stickies' windows still up.
    [[noreturn]] void endProcess();

    // Reads and completes settings.json, then loads the tables, the groups and every stored sticky.
    bool loadSettings();
    bool saveSettings() override;

    // Note storage.
    bool scanNotes();
    bool loadNote(const std::optional<std::wstring>& noteFolder, const std::wstring& noteGuid,
                  const std::optional<std::wstring>& groupGuid, bool activate);
    bool createNoteNextTo(const std::wstring& sourceGuid) override;
    // The first start's sticky, which welcomes the user and says how things work.
    bool openWelcomeSticky();
    // Puts a sticky into its group, builds its windows and shows it.
    bool openNote(std::unique_ptr<Note> note, Group& group, const std::wstring& rtfPath, bool activate);
    // `atExit` saves a body even while an input method composes in it.
    bool saveNoteText(Note& note, bool atExit = false);
    bool saveNoteJson(Note& note, bool withFigures);
    std::wstring noteTitle(const Note& note) const override;
    // Saves both files now; what fails is tried again on the retry timer.
    void saveSticky(Note& note) override;
    // What shutdown writes: the settings and both files of every sticky. True
    // when every write worked.
    bool saveEverything();
    std::wstring noteFolder(const std::wstring& noteGuid) const;

    // Changes made to the data folder from elsewhere (a sync service, another
    // machine): watched while running, and looked at before shutdown saves.
    void startWatching();
    // The message loop waits for this event too and then lets the watch poll.
    HANDLE folderWatchEvent() const;
    void pollFolderWatch();
    // Notes that appeared are opened only while the program runs on, not
    // when it is about to close.
    void applyOutsideChanges(const FolderChanges& changes, bool openAdded);
    void checkEverything();
    // Before auto-save writes: changes that came in, and notes about to be
    // saved whose files changed since, are dealt with first.
    void checkBeforeSaving();
    // Looks at one note's files now (before trashing it, say).
    void checkNote(const std::wstring& noteGuid, bool openAdded);

    const std::wstring& folder() const override { return folder_; }

    // Activity detection: raw input (throttled), touch and the game pads.
    void onRawInput(HRAWINPUT input);
    bool pollGamePads();
    // A full-screen program, presentation or full-screen console in front.
    bool detectFullScreen() const;
    bool cursorPosition(int& x, int& y) const override;
    Sticky* focusedSticky() const override;
    bool mouseButtonsHeld() const override;
    const std::vector<std::wstring>& colourList() override;
    const std::vector<std::wstring>& fontFamilyNames() override;

    bool moveToTrash(std::wstring noteGuid) override;
    void moveAllToTrash();
    bool recoverFromTrash(std::size_t index) override;
    void emptyTrash(bool permanent);
    void purgeExpiredTrash();

    // The system menu and what it opens.
    UniqueMenu buildSystemMenu();
    // At `at`, the icon's place or the cursor.
    void showSystemMenu(POINT at);
    // An event of the notification icon (version 4): what happened, the icon's
    // id and where (the cursor, or the icon when chosen by keyboard).
    void onTrayIcon(UINT event, UINT iconId, POINT at);
    // Highlights the sticky under the menu's current item.
    void onMenuSelect(WPARAM wParam, LPARAM lParam);
    void onCommand(UINT id);
    void highlightSticky(const std::wstring& noteGuid) override;
    void highlightGroup(const std::wstring& groupGuid) override;
    void clearHighlight() override;
    void enterModal();
    void leaveModal();
    void setStickiesEnabled(bool enabled);
    // Puts every sticky no monitor shows back on screen and stores where.
    void keepStickiesOnScreen();

    // Global hotkeys, "show all" and reminders (QuickAccess_win.cpp,
    // Reminders_win.cpp). The hotkeys are registered on the main window.
    void startQuickAccess();
    void stopQuickAccess();
    std::optional<Hotkey> heldHotkey(HotkeyCommand command) const override;
    void registerHotkeys() override;
    void unregisterHotkeys();
    void onHotkey(HotkeyCommand command, std::uint32_t key);
    // A new sticky in the tray's group on the cursor's monitor, with the
    // focus; with the clipboard's formatted or plain text when asked.
    bool newStickyAtCursor(bool fromClipboard);
    // Every sticky in front, unfolded and opaque until the next key or click.
    void showAllStickies(std::uint32_t hotkeyKey);
    void endShowAll();
    // Coalesced: one look at the reminders after any number of requests.
    void scheduleReminderCheck();
    void checkReminders();
    void openReminderDialog(const std::wstring& noteGuid) override;
    // A notification of the notification-area icon; a click on it shows the
    // sticky named, if any. Without a title it is the program's name.
    void showNotification(const std::wstring& text, const std::wstring& noteGuid = {},
                          const std::wstring& title = {}, bool warning = false);
    // Earlier versions of the notes (NoteHistory_win.cpp).
    void keepVersion(Note& note, Replacement replacement) override;
    void showEarlierVersions(Note& note) override;
    bool restoreVersion(const std::wstring& noteGuid, const std::wstring& entry);
    // The new sticky's guid, empty when none could be made.
    std::wstring openVersionAsNew(const std::wstring& noteGuid, const std::wstring& entry);
    // A slice of thinning; false once the pass is over.
    bool stepHistoryThinning();

    bool initialized = false;
    // Set by the program, not by tests that run the object in their own process.
    bool endProcessAtExit = false;
    // The program run by a user (not a test): a save failing at exit is asked about.
    bool interactive = false;
    HWND mainWindow = nullptr;
    // The user's language, which the first start takes for the program's.
    std::uint16_t userLanguageId;
    // The sticky guids of the last menu's commands (its trash entries are
    // trashMenuEntries).
    std::vector<std::wstring> menuStickies;

protected:
    bool saveStickyText(Sticky& sticky) override;
    bool saveStickyJson(Sticky& sticky, bool withFigures) override;

private:
    static LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void addTrayIcon();
    void removeTrayIcon();
    // Hotkeys, the reminder timer, clock changes and the input that ends
    // "show all"; true when the message needs nothing more.
    bool quickAccessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void fireReminder(Note& note, std::int64_t nowSeconds);
    void onTimer(UINT_PTR id);
    void onFolderWatchTimer();
    // A menu, a drag or a modal dialog holds on to stickies.
    bool userBusy() const;
    void checkSettings();
    // Writes the parts changed only here, then loads the note with what came.
    void saveThenReload(Note& note, bool textNews, const FileStamp& text, bool jsonNews,
                        const FileStamp& json);
    // Other versions of the note's files left beside them (a sync service's
    // conflict copies, kept copies) each open once as a sticky of their own.
    // A Syncthing copy reaches both machines: while running, only the one
    // whose version it holds (one of `ownHashes`, what this side last saw of
    // the note's files) shows it; at start-up (`all`) any does.
    void showSideVersions(const std::wstring& noteGuid, bool all,
                          const std::vector<std::uint64_t>& ownHashes);
    // A new sticky "... (changed elsewhere)" beside `note` from the given
    // note.json and text.rtf bytes, under `guid` (a new one when empty); its
    // guid, empty when none could be made.
    std::wstring openVersionBeside(const Note& note, const std::string& jsonBytes,
                                   const std::string* textBytes, std::wstring guid = {});
    // Under Wine the tree watch sees nothing inside folders that existed when
    // it began: "notes" and each note folder are watched too.
    void watchNoteFolders();
    // Told once when saves kept failing; asked at exit when they still fail.
    void tellSavesFailing() override;
    bool askToRetrySaves();
    // Closes the sticky and opens it again from its files.
    void reloadNote(const std::wstring& noteGuid);
    // Streams text.rtf into the sticky's own body, its windows, keyboard,
    // caret and scroll position kept.
    void reloadBody(Note& note);
    // After text.rtf was read into the sticky: the bytes it saw, and a copy
    // kept before a body not read as RTF is written.
    void tookInBody(const Note& note, const std::wstring& textPath);
    // The version on disk becomes a new note beside the sticky, which then saves its own.
    void forkOutsideVersion(Note& note);
    void closeRemovedNote(const std::wstring& noteGuid);
    // Writes the bytes unless the disk holds them already; an unread file is kept first.
    bool writeSeen(const std::wstring& path, std::string_view bytes);
    // Runs a modal dialog of the system menu inside the modal bracket.
    void runModalDialog(int templateId, DLGPROC procedure);

    // Before a save writes `bytes` over the note's file at `path`.
    void keepBeforeWrite(Note& note, const std::wstring& path, std::string_view bytes);
    // At start-up after a delay, after saves that kept a version at most hourly.
    void scheduleHistoryThinning(bool atStart);

    std::wstring folder_;
    KeptCopies keptCopies_;
    // When this run last kept a version of each note (UTC milliseconds).
    std::map<std::wstring, std::uint64_t> versionsKept_;
    HistoryThinning thinning_;
    bool thinningPending_ = false;
    std::uint64_t thinningStarted_ = 0;
    DiskState disk_;
    FolderWatch folderWatch_;
    // settings.json was rewritten elsewhere: it is left as it is until a
    // change here is saved, and kept before that write.
    bool settingsElsewhere_ = false;
    // settings.json as last read or written: the base against which groups
    // changed elsewhere are told from groups changed here.
    Json settingsSeen_;
    // Notes whose file was seen removed once: written back only if still so
    // at the next look, as a sync client removes a note's files one by one.
    std::vector<std::wstring> removalsSeen_;
    // WM_QUERYENDSESSION saved everything: WM_ENDSESSION need not again.
    bool sessionSaved_ = false;
    // settings.json was read this run: until then no purge knows its deadline.
    bool settingsRead_ = false;
    // WM_CLOSE arrived before start-up finished.
    bool closeRequested_ = false;
    std::optional<std::vector<std::wstring>> colourList_;
    std::optional<std::vector<std::wstring>> fontFamilyNames_;
    UINT taskbarCreatedMessage_ = 0;
    // Enter on the notification icon opens its menu once.
    TrayMenuGate trayMenuGate_{GetDoubleClickTime()};
    HPOWERNOTIFY displayNotification_ = nullptr;
    bool comInitialized_ = false;
    // XInput 1.4 is loaded when present; without it game pads go unnoticed.
    UniqueModule xinputModule_;
    FARPROC xinputGetState_ = nullptr;
    std::array<std::optional<Hotkey>, hotkeyCommands.size()> heldHotkeys_;
    bool showingAll_ = false;
    std::uint32_t showAllKey_ = 0;
    bool reminderCheckPosted_ = false;
    // The sticky of the last notification, shown when it is clicked.
    std::wstring notifiedGuid_;
};

} // namespace Brisvane
