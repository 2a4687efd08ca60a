#pragma once
// What every sticky's drawing shares for the whole run: the way drawings are
// shown, decided once before any device is made, and the one GDI+ session.
#include <memory>

#include <windows.h>

#include <dxgi.h>

#include "base/UniqueHandle_win.h"
#include "scribble/BitmapCanvas_win.h"

namespace Brisvane {

class DrawingSystem {
public:
    using CreateCompositionDevice = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);
    // DirectComposition: the library stays loaded while a device holds this.
    struct Composition {
        UniqueModule module;
        CreateCompositionDevice create = nullptr;
    };
    // Null where DirectComposition does not work (older systems, Wine): the
    // drawings are then painted over the bodies, and no sticky makes a
    // Direct3D device only to find that out.
    std::shared_ptr<const Composition> composition();
    // Started on first use; null when GDI+ cannot start.
    std::shared_ptr<GdiplusSession> gdiplus();

private:
    bool decided_ = false;
    std::shared_ptr<const Composition> composition_;
    std::shared_ptr<GdiplusSession> gdiplus_;
};

} // namespace Brisvane
