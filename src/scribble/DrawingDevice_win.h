#pragma once
// The device chain of a sticky's drawing window: Direct3D, DXGI, Direct2D and a
// DirectComposition swap chain whose visual is the window's whole picture.
#include <memory>

#include <windows.h>

#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include "base/UniqueHandle_win.h"
#include "scribble/D2DCanvas_win.h"

namespace Brisvane {

class DrawingDevice {
public:
    // Builds the chain for the window's client size; false, and nothing kept,
    // when any part cannot be made (no DirectComposition, no adapter).
    bool create(HWND window);
    // A new swap chain and target for the window's current client size.
    bool resizeSurface(HWND window);
    bool ready() const { return ready_; }
    // Null until the chain is ready.
    Canvas* canvas() { return ready_ ? canvas_.get() : nullptr; }

private:
    void release();

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
    Microsoft::WRL::ComPtr<IDCompositionVisual> compositionVisual_;
    std::unique_ptr<D2DCanvas> canvas_;
    // DirectComposition is looked up at run time: systems without it still run.
    UniqueModule compositionLibrary_;
    using CreateCompositionDevice = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);
    CreateCompositionDevice createComposition_ = nullptr;
    bool ready_ = false;
};

} // namespace Brisvane
