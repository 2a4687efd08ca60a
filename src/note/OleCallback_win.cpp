#include "note/OleCallback_win.h"

#include <cwchar>

namespace Brisvane {

namespace {

constexpr DWORD storageMode = STGM_TRANSACTED | STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

} // namespace

OleCallback::OleCallback() = default;

HRESULT STDMETHODCALLTYPE OleCallback::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRichEditOleCallback)) {
        *object = static_cast<IRichEditOleCallback*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OleCallback::AddRef() {
    return ++references_;
}

ULONG STDMETHODCALLTYPE OleCallback::Release() {
    ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT STDMETHODCALLTYPE OleCallback::GetNewStorage(LPSTORAGE* storage) {
    if (!storage) {
        return E_INVALIDARG;
    }
    *storage = nullptr;
    // Made with the first embedded object: most bodies never hold one, and the
    // temporary file costs every sticky at start-up otherwise. Without
    // delete-on-release the unnamed file would outlive the callback.
    if (!root_ &&
        FAILED(StgCreateDocfile(nullptr, storageMode | STGM_DELETEONRELEASE, 0, root_.GetAddressOf()))) {
        return E_FAIL;
    }
    // Each object gets a name of its own: with STGM_CREATE a second storage of
    // the same (empty) name would replace, and revert, one still in use.
    wchar_t name[32];
    std::swprintf(name, sizeof name / sizeof name[0], L"Object%lu", ++storageCount_);
    return root_->CreateStorage(name, storageMode, 0, 0, storage);
}

HRESULT STDMETHODCALLTYPE OleCallback::GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                                         LPOLEINPLACEFRAMEINFO) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::ShowContainerUI(WINBOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::DeleteObject(LPOLEOBJECT) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, WINBOOL, HGLOBAL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::ContextSensitiveHelp(WINBOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) {
    // E_FAIL lets the control put its own data on the clipboard.
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE OleCallback::GetDragDropEffect(WINBOOL, DWORD, LPDWORD) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU* menu) {
    // The body shows its own menus on the right button.
    if (menu) {
        *menu = nullptr;
    }
    return S_OK;
}

} // namespace Brisvane
