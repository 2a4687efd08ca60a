#pragma once
// The device of a sticky's drawing window: Direct3D, DXGI, Direct2D and a
// DirectComposition swap chain whose visual is the window's whole picture; or,
// where composition does not work, a bitmap painted over the body together
// with it.
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
#include "scribble/DrawingSystem_win.h"

namespace Brisvane {

class DrawingDevice : public CanvasSource {
public:
    DrawingDevice() = default;
    DrawingDevice(const DrawingDevice&) = delete;
    DrawingDevice& operator=(const DrawingDevice&) = delete;
    ~DrawingDevice() override;

    // Builds the composition chain for the drawing window's client size where
    // `system` composes, else the bitmap painted over `body`; false, and
    // nothing kept, when neither can be made.
    bool create(HWND window, HWND body, DrawingSystem& system);
    // The surface for the drawing window's current client size; a device that
    // cannot take the new size is built anew (with a new canvas).
    bool resizeSurface();
    bool ready() const { return ready_; }
    // Null until the device is ready.
    Canvas* canvas() override;
    bool rebuild() override;
    // True when the drawing is shown by painting it over the body.
    bool paintsOver() const { return ready_ && bitmapCanvas_; }
    // Lays the drawing's pixels of `area` (body client coordinates) over `dc`,
    // which holds the body's picture at the same coordinates.
    void blendOver(HDC dc, const RECT& area) const;

private:
    bool createChain();
    bool resizeChain();
    bool createBitmap();
    bool resizeBitmap();
    bool presentChain(const std::vector<RectI>& changed);
    void release();

    HWND window_ = nullptr;
    HWND body_ = nullptr;
    DrawingSystem* system_ = nullptr;
    // First, so that the library outlives everything made through it.
    std::shared_ptr<const DrawingSystem::Composition> composition_;
    Microsoft::WRL::ComPtr<ID3D11Device> d3dDevice_;
    Microsoft::WRL::ComPtr<IDXGIDevice> dxgiDevice_;
    Microsoft::WRL::ComPtr<IDXGIFactory2> dxgiFactory_;
    Microsoft::WRL::ComPtr<ID2D1Factory1> d2dFactory_;
    Microsoft::WRL::ComPtr<ID2D1Device> d2dDevice_;
    Microsoft::WRL::ComPtr<ID2D1DeviceContext> deviceContext_;
    Microsoft::WRL::ComPtr<IDXGISwapChain1> swapChain_;
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> targetBitmap_;
    Microsoft::WRL::ComPtr<IDCompositionDevice> compositionDevice_;
    Microsoft::WRL::ComPtr<IDCompositionTarget> compositionTarget_;
    Microsoft::WRL::ComPtr<IDCompositionVisual> visual_;
    std::unique_ptr<D2DCanvas> chainCanvas_;
    // A new swap chain is shown whole once; a new visual waits for a commit.
    bool wholePresent_ = true;
    bool commitPending_ = false;
    // The other way: GDI+ drawing into the pixels of a DIB section. The
    // section comes first, so that it outlives the canvas drawing into it.
    UniqueBitmap section_;
    PixelBuffer pixels_;
    std::unique_ptr<BitmapCanvas> bitmapCanvas_;
    bool ready_ = false;
};

} // namespace Brisvane
