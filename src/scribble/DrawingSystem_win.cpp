#include "scribble/DrawingSystem_win.h"

#include <dcomp.h>
#include <wrl/client.h>

#include "base/SystemLibrary_win.h"

namespace Brisvane {

namespace {

using CreateDeviceWithout = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);

template <class Function> Function entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

std::shared_ptr<const DrawingSystem::Composition> DrawingSystem::composition() {
    if (decided_) {
        return composition_;
    }
    decided_ = true;
    auto found = std::make_shared<Composition>();
    found->module.reset(loadSystemLibrary(L"dcomp.dll"));
    if (!found->module) {
        return nullptr;
    }
    found->create = entry<CreateCompositionDevice>(found->module.get(), "DCompositionCreateDevice");
    // A composition device made without any rendering device costs next to
    // nothing, and tells whether composition works at all here.
    auto createWithout = entry<CreateDeviceWithout>(found->module.get(), "DCompositionCreateDevice2");
    if (!found->create || !createWithout) {
        return nullptr;
    }
    {
        Microsoft::WRL::ComPtr<IUnknown> probe;
        if (FAILED(createWithout(nullptr, __uuidof(IDCompositionDesktopDevice),
                                 reinterpret_cast<void**>(probe.GetAddressOf())))) {
            return nullptr;
        }
    }
    composition_ = std::move(found);
    return composition_;
}

std::shared_ptr<GdiplusSession> DrawingSystem::gdiplus() {
    if (!gdiplus_) {
        gdiplus_ = GdiplusSession::start();
    }
    return gdiplus_;
}

} // namespace Brisvane
