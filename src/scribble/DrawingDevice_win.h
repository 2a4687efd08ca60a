#pragma once
// The device of a sticky's drawing window: Direct3D, DXGI, Direct2D and a
// DirectComposition swap chain whose visual is the window's whole picture; or,
// where that chain cannot be made, a bitmap painted over the body after the
// body paints.
#include <memory>

#include <windows.h>

#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include "base/UniqueHandle_win.h"
#include "scribble/BitmapCanvas_win.h"
#include "scribble/D2DCanvas_win.h"
#include "scribble/LoadedLibrary.h"

namespace Brisvane {

class DrawingDevice : public CanvasSource {
public:
    DrawingDevice() = default;
    DrawingDevice(const DrawingDevice&) = delete;
    DrawingDevice& operator=(const DrawingDevice&) = delete;
    ~DrawingDevice() override;

    // Builds the composition chain for the drawing window's client size, or the
    // bitmap painted over `body` when the chain cannot be made (no
    // DirectComposition, no adapter); false, and nothing kept, when neither can.
    bool create(HWND window, HWND body);
    // The surface for the drawing window's current client size; a chain that
    // cannot take the new size is built anew.
    bool resizeSurface();
    bool ready() const { return ready_; }
    // Null until the device is ready.
    Canvas* canvas() override;
    bool rebuild() override;
    // True when the drawing is shown by painting it over the body.
    bool paintsOver() const { return ready_ && bitmap_.objects().canvas; }
    // Paints the drawing over the part `update` of the body that just painted.
    void paintOver(HRGN update);

private:
    bool createChain();
    bool resizeChain();
    bool resizeBitmap();
    void release();

    HWND window_ = nullptr;
    HWND body_ = nullptr;
    // DirectComposition is looked up at run time: systems without it still run.
    using CreateCompositionDevice = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);
    struct Composition {
        CreateCompositionDevice create = nullptr;
        Microsoft::WRL::ComPtr<IDCompositionDevice> device;
        Microsoft::WRL::ComPtr<IDCompositionTarget> target;
        Microsoft::WRL::ComPtr<IDCompositionVisual> visual;
    };
    LoadedLibrary<UniqueModule, Composition> composition_;
    Microsoft::WRL::ComPtr<ID3D11Device> d3dDevice_;
    Microsoft::WRL::ComPtr<IDXGIDevice> dxgiDevice_;
    Microsoft::WRL::ComPtr<IDXGIFactory2> dxgiFactory_;
    Microsoft::WRL::ComPtr<ID2D1Factory1> d2dFactory_;
    Microsoft::WRL::ComPtr<ID2D1Device> d2dDevice_;
    Microsoft::WRL::ComPtr<ID2D1DeviceContext> deviceContext_;
    Microsoft::WRL::ComPtr<IDXGISwapChain1> swapChain_;
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> targetBitmap_;
    std::unique_ptr<D2DCanvas> chainCanvas_;
    // The other way: GDI+ drawing into the pixels of a DIB section.
    struct Pixels {
        // First, so that letting go of the pixels ends the canvas before its section.
        std::unique_ptr<BitmapCanvas> canvas;
        UniqueBitmap section;
        void* bits = nullptr;
        int width = 0, height = 0;
    };
    LoadedLibrary<GdiplusSession, Pixels> bitmap_;
    bool ready_ = false;
};

} // namespace Brisvane
