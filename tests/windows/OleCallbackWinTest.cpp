// The Rich Edit's OLE callback on its own: its interfaces, its count and the
// storage it gives each embedded object.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "note/OleCallback_win.h"

using namespace Brisvane;
using Microsoft::WRL::ComPtr;

namespace {

std::set<std::wstring> filesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.insert(entry.cFileName);
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return names;
}

std::wstring tempFolderPath() {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    return std::wstring(base, length);
}

} // namespace

TEST(OleCallbackWin, AnswersItsTwoInterfacesOnly) {
    ComPtr<OleCallback> callback(new OleCallback);

    ComPtr<IUnknown> unknown;
    EXPECT_EQ(callback->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.GetAddressOf())), S_OK);
    EXPECT_EQ(unknown.Get(), static_cast<IUnknown*>(callback.Get()));
    ComPtr<IRichEditOleCallback> richCallback;
    EXPECT_EQ(callback->QueryInterface(IID_IRichEditOleCallback,
                                       reinterpret_cast<void**>(richCallback.GetAddressOf())),
              S_OK);
    EXPECT_EQ(richCallback.Get(), callback.Get());

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(callback->QueryInterface(IID_IRichEditOle, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(callback->QueryInterface(IID_IStorage, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(callback->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // Two answered queries, plus the holder's own reference.
    EXPECT_EQ(callback->AddRef(), 4u);
    EXPECT_EQ(callback->Release(), 3u);
}

TEST(OleCallbackWin, CountsFromZeroAndDeletesItselfAtZero) {
    auto* callback = new OleCallback;
    EXPECT_EQ(callback->AddRef(), 1u);
    EXPECT_EQ(callback->AddRef(), 2u);
    EXPECT_EQ(callback->Release(), 1u);
    EXPECT_EQ(callback->Release(), 0u); // deleted here
}

TEST(OleCallbackWin, GivesEachObjectItsOwnStorage) {
    const std::set<std::wstring> before = filesIn(tempFolderPath());
    {
        ComPtr<OleCallback> callback(new OleCallback);
        ComPtr<IStorage> first, second;
        ASSERT_EQ(callback->GetNewStorage(first.GetAddressOf()), S_OK);
        ASSERT_TRUE(first);
        // The first stays open while the second is made, as with two embedded objects.
        ASSERT_EQ(callback->GetNewStorage(second.GetAddressOf()), S_OK);
        ASSERT_TRUE(second);
        EXPECT_NE(first.Get(), second.Get());

        ComPtr<IStream> stream;
        EXPECT_EQ(first->CreateStream(L"Contents", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, 0,
                                      stream.GetAddressOf()),
                  S_OK);
        EXPECT_EQ(callback->GetNewStorage(nullptr), E_INVALIDARG);

        HMENU menu = reinterpret_cast<HMENU>(1);
        EXPECT_EQ(callback->GetContextMenu(GCM_RIGHTMOUSEDROP, nullptr, nullptr, &menu), S_OK);
        EXPECT_EQ(menu, nullptr);
        EXPECT_EQ(callback->GetClipboardData(nullptr, RECO_COPY, nullptr), E_FAIL);
    }
    EXPECT_EQ(filesIn(tempFolderPath()), before) << "the temporary compound file must go with the callback";
}
