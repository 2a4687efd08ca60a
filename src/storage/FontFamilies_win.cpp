#include "storage/FontFamilies_win.h"

#include <windows.h>

#include <dwrite.h>
#include <wrl/client.h>

namespace Brisvane {

using Microsoft::WRL::ComPtr;

namespace {

// Index of the name to show: the user's locale, else "en-us", else the first.
UINT32 chooseNameIndex(IDWriteLocalizedStrings* names, const wchar_t* userLocale) {
    UINT32 index = 0;
    BOOL exists = FALSE;
    if (userLocale[0] != L'\0' && SUCCEEDED(names->FindLocaleName(userLocale, &index, &exists)) && exists) {
        return index;
    }
    exists = FALSE;
    if (SUCCEEDED(names->FindLocaleName(L"en-us", &index, &exists)) && exists) {
        return index;
    }
    return 0;
}

// The family's display name; false when any call fails or the name is empty.
bool familyName(IDWriteFontCollection* collection, UINT32 i, const wchar_t* userLocale, std::wstring& name) {
    ComPtr<IDWriteFontFamily> family;
    if (FAILED(collection->GetFontFamily(i, &family))) {
        return false;
    }
    ComPtr<IDWriteLocalizedStrings> names;
    if (FAILED(family->GetFamilyNames(&names)) || names->GetCount() == 0) {
        return false;
    }
    UINT32 index = chooseNameIndex(names.Get(), userLocale);
    UINT32 length = 0;
    if (FAILED(names->GetStringLength(index, &length)) || length == 0) {
        return false;
    }
    std::wstring text(length + 1, L'\0');
    if (FAILED(names->GetString(index, text.data(), length + 1))) {
        return false;
    }
    text.resize(length);
    name = std::move(text);
    return true;
}

} // namespace

std::vector<std::wstring> enumerateFontFamilies(std::size_t limit) {
    std::vector<std::wstring> families;
    if (limit == 0) {
        return families;
    }
    ComPtr<IDWriteFactory> factory;
    if (FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(factory.GetAddressOf())))) {
        return families;
    }
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(factory->GetSystemFontCollection(&collection, FALSE))) {
        return families;
    }
    wchar_t userLocale[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetUserDefaultLocaleName(userLocale, LOCALE_NAME_MAX_LENGTH) == 0) {
        userLocale[0] = L'\0';
    }
    UINT32 count = collection->GetFontFamilyCount();
    for (UINT32 i = 0; i < count && families.size() < limit; ++i) {
        std::wstring name;
        if (familyName(collection.Get(), i, userLocale, name)) {
            families.push_back(std::move(name));
        }
    }
    return families;
}

} // namespace Brisvane
