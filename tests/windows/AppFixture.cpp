#include "AppFixture.h"

#include <gtest/gtest.h>

#include "storage/File_win.h"
#include "storage/TextCodec.h"

namespace Brisvane::testing {

void pumpMessages(int milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

BYTE alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
    return alpha;
}

RECT rectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

AppFixture::AppFixture() : app(std::make_unique<TackaroonNotes>(temp.path())) {}

AppFixture::~AppFixture() {
    stop();
}

void AppFixture::storeNote(const std::wstring& guid, const std::string& noteJson, const std::string& rtf) {
    std::wstring folder = temp.path() + L"notes\\" + guid + L"\\";
    EXPECT_EQ(writeUtf8TextFile(folder + L"note.json", noteJson), errorSuccess);
    if (!rtf.empty()) {
        EXPECT_EQ(writeFileBytes(folder + L"text.rtf", rtf), errorSuccess);
    }
}

void AppFixture::storeSettings(const std::string& settingsJson) {
    EXPECT_EQ(writeUtf8TextFile(temp.path() + L"settings.json", settingsJson), errorSuccess);
}

void AppFixture::start() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(TackaroonNotes::registerMainWindowClass(instance));
    ASSERT_NE(app->createMainWindow(instance), nullptr);
    ASSERT_TRUE(app->startUp());
    pumpMessages(250);
}

void AppFixture::stop() {
    if (app && app->mainWindow) {
        DestroyWindow(app->mainWindow);
        pumpMessages(20);
    }
}

void AppFixture::restart() {
    stop();
    app = std::make_unique<TackaroonNotes>(temp.path());
    start();
}

Note* AppFixture::note(const std::wstring& guid) const {
    return static_cast<Note*>(app->stickyByGuid(guid));
}

Note* AppFixture::firstNote() const {
    auto all = app->allStickies();
    return all.empty() ? nullptr : static_cast<Note*>(all.front());
}

Json AppFixture::readNoteJson(const std::wstring& guid) const {
    std::wstring text;
    EXPECT_EQ(readTextFileAt(temp.path() + L"notes\\" + guid + L"\\note.json", text), errorSuccess);
    return parseJson(wideToUtf8(text));
}

std::string AppFixture::readNoteFile(const std::wstring& guid, const std::wstring& name) const {
    return readBytes(temp.path() + L"notes\\" + guid + L"\\" + name);
}

bool AppFixture::noteFileExists(const std::wstring& guid, const std::wstring& name) const {
    return isFile(temp.path() + L"notes\\" + guid + L"\\" + name);
}

} // namespace Brisvane::testing
