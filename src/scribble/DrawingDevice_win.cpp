#include "scribble/DrawingDevice_win.h"

#include <algorithm>

#include <dxgi1_3.h>

using Microsoft::WRL::ComPtr;

namespace Brisvane {

namespace {

// Debug layers exist only where the graphics tools are installed; asking for
// them elsewhere makes creation fail, so only debug builds ask.
#ifdef NDEBUG
constexpr UINT factoryFlags = 0;
constexpr D2D1_DEBUG_LEVEL debugLevel = D2D1_DEBUG_LEVEL_NONE;
#else
constexpr UINT factoryFlags = DXGI_CREATE_FACTORY_DEBUG;
constexpr D2D1_DEBUG_LEVEL debugLevel = D2D1_DEBUG_LEVEL_INFORMATION;
#endif

} // namespace

void DrawingDevice::release() {
    ready_ = false;
    canvas_.reset();
    compositionVisual_.Reset();
    compositionTarget_.Reset();
    compositionDevice_.Reset();
    targetBitmap_.Reset();
    swapChain_.Reset();
    deviceContext_.Reset();
    d2dDevice_.Reset();
    d2dFactory_.Reset();
    dxgiFactory_.Reset();
    dxgiDevice_.Reset();
    d3dDevice_.Reset();
}

bool DrawingDevice::create(HWND window) {
    if (ready_) {
        return true;
    }
    release();
    // Without DirectComposition nothing could be shown: skip the costly devices.
    if (!compositionLibrary_) {
        compositionLibrary_.reset(LoadLibraryW(L"dcomp.dll"));
    }
    createComposition_ = compositionLibrary_
                             ? reinterpret_cast<CreateCompositionDevice>(reinterpret_cast<void*>(
                                   GetProcAddress(compositionLibrary_.get(), "DCompositionCreateDevice")))
                             : nullptr;
    if (!createComposition_) {
        return false;
    }
    HRESULT result = E_FAIL;
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        result = D3D11CreateDevice(nullptr, driver, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, nullptr, 0,
                                   D3D11_SDK_VERSION, &d3dDevice_, nullptr, nullptr);
        if (SUCCEEDED(result)) {
            break;
        }
    }
    D2D1_FACTORY_OPTIONS options{debugLevel};
    if (FAILED(result) || FAILED(d3dDevice_.As(&dxgiDevice_)) ||
        FAILED(CreateDXGIFactory2(factoryFlags, IID_PPV_ARGS(&dxgiFactory_))) ||
        FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), &options,
                                 reinterpret_cast<void**>(d2dFactory_.GetAddressOf()))) ||
        FAILED(d2dFactory_->CreateDevice(dxgiDevice_.Get(), &d2dDevice_)) ||
        FAILED(d2dDevice_->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &deviceContext_))) {
        release();
        return false;
    }
    canvas_ = std::make_unique<D2DCanvas>(d2dFactory_, deviceContext_);
    canvas_->present = [this] {
        swapChain_->Present(1, 0);
        compositionDevice_->Commit();
    };
    if (!resizeSurface(window)) {
        release();
        return false;
    }
    ready_ = true;
    return true;
}

bool DrawingDevice::resizeSurface(HWND window) {
    if (!deviceContext_) {
        return false;
    }
    RECT client{};
    GetClientRect(window, &client);
    DXGI_SWAP_CHAIN_DESC1 description{};
    description.Width = static_cast<UINT>(std::max<LONG>(1, client.right - client.left));
    description.Height = static_cast<UINT>(std::max<LONG>(1, client.bottom - client.top));
    description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    description.SampleDesc = {1, 0};
    description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    description.BufferCount = 2;
    description.Scaling = DXGI_SCALING_STRETCH;
    description.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
    description.AlphaMode = DXGI_ALPHA_MODE_PREMULTIPLIED;
    // The old target lets go of the old swap chain's buffer first.
    deviceContext_->SetTarget(nullptr);
    targetBitmap_.Reset();
    ComPtr<IDXGISwapChain1> swapChain;
    ComPtr<IDXGISurface2> surface;
    ComPtr<ID2D1Bitmap1> bitmap;
    D2D1_BITMAP_PROPERTIES1 properties =
        D2D1::BitmapProperties1(D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
                                D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    if (FAILED(dxgiFactory_->CreateSwapChainForComposition(dxgiDevice_.Get(), &description, nullptr,
                                                           &swapChain)) ||
        FAILED(swapChain->GetBuffer(0, IID_PPV_ARGS(&surface))) ||
        FAILED(deviceContext_->CreateBitmapFromDxgiSurface(surface.Get(), &properties, &bitmap))) {
        return false;
    }
    deviceContext_->SetTarget(bitmap.Get());
    if (!compositionDevice_) {
        if (FAILED(createComposition_(dxgiDevice_.Get(), __uuidof(IDCompositionDevice),
                                      reinterpret_cast<void**>(compositionDevice_.GetAddressOf()))) ||
            FAILED(compositionDevice_->CreateTargetForHwnd(window, TRUE, &compositionTarget_))) {
            compositionDevice_.Reset();
            return false;
        }
    }
    ComPtr<IDCompositionVisual> visual;
    if (FAILED(compositionDevice_->CreateVisual(&visual)) || FAILED(visual->SetContent(swapChain.Get())) ||
        FAILED(compositionTarget_->SetRoot(visual.Get()))) {
        return false;
    }
    swapChain_ = swapChain;
    targetBitmap_ = bitmap;
    compositionVisual_ = visual;
    return true;
}

} // namespace Brisvane
