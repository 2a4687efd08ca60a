#pragma once
// The body edit's IRichEditOleCallback: gives embedded objects their storage
// and accepts every insert, drop and paste.
#include <ole2.h>
#include <richedit.h>
#include <richole.h>
#include <wrl/client.h>

namespace Brisvane {

// Reference-counted from 0: whoever takes it calls AddRef, and the last Release
// deletes it. Create it with new; its destructor is private for that reason.
class OleCallback final : public IRichEditOleCallback {
public:
    OleCallback();
    OleCallback(const OleCallback&) = delete;
    OleCallback& operator=(const OleCallback&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IRichEditOleCallback
    HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) override;
    HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                                LPOLEINPLACEFRAMEINFO frameInfo) override;
    HRESULT STDMETHODCALLTYPE ShowContainerUI(WINBOOL show) override;
    HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID classId, LPSTORAGE storage, LONG cp) override;
    HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT object) override;
    HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT data, CLIPFORMAT* format, DWORD operation,
                                              WINBOOL really, HGLOBAL metaPicture) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE* range, DWORD operation,
                                               LPDATAOBJECT* data) override;
    HRESULT STDMETHODCALLTYPE GetDragDropEffect(WINBOOL drag, DWORD keyState, LPDWORD effect) override;
    HRESULT STDMETHODCALLTYPE GetContextMenu(WORD selectionType, LPOLEOBJECT object, CHARRANGE* range,
                                             HMENU* menu) override;

private:
    ~OleCallback() = default;

    ULONG references_ = 0;
    // A temporary compound file holding one sub-storage per embedded object.
    Microsoft::WRL::ComPtr<IStorage> root_;
    unsigned long storageCount_ = 0;
};

} // namespace Brisvane
