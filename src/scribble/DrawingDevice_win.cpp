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

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {std::max<LONG>(1, client.right - client.left), std::max<LONG>(1, client.bottom - client.top)};
}

struct MemoryDcTraits {
    using Type = HDC;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DeleteDC(h); }
};

} // namespace

DrawingDevice::~DrawingDevice() {
    release();
}

void DrawingDevice::release() {
    ready_ = false;
    chainCanvas_.reset();
    composition_.release();
    targetBitmap_.Reset();
    swapChain_.Reset();
    deviceContext_.Reset();
    d2dDevice_.Reset();
    d2dFactory_.Reset();
    dxgiFactory_.Reset();
    dxgiDevice_.Reset();
    d3dDevice_.Reset();
    bitmap_.release();
}

bool DrawingDevice::create(HWND window, HWND body) {
    if (ready_) {
        return true;
    }
    window_ = window;
    body_ = body;
    return rebuild();
}

bool DrawingDevice::rebuild() {
    release();
    if (createChain()) {
        ready_ = true;
        return true;
    }
    release();
    ready_ = bitmap_.load(GdiplusSession::start) && resizeBitmap();
    if (!ready_) {
        release();
    }
    return ready_;
}

Canvas* DrawingDevice::canvas() {
    if (!ready_) {
        return nullptr;
    }
    if (chainCanvas_) {
        return chainCanvas_.get();
    }
    return bitmap_.objects().canvas.get();
}

bool DrawingDevice::resizeSurface() {
    if (!ready_) {
        return false;
    }
    if (chainCanvas_ ? resizeChain() : resizeBitmap()) {
        return true;
    }
    return rebuild();
}

bool DrawingDevice::createChain() {
    // Without DirectComposition the chain could not be shown: skip the costly devices.
    Composition& composition = composition_.objects();
    if (!composition_.load([] { return UniqueModule(LoadLibraryW(L"dcomp.dll")); })) {
        return false;
    }
    composition.create = reinterpret_cast<CreateCompositionDevice>(
        reinterpret_cast<void*>(GetProcAddress(composition_.module().get(), "DCompositionCreateDevice")));
    if (!composition.create) {
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
        FAILED(d2dDevice_->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &deviceContext_)) ||
        FAILED(composition.create(dxgiDevice_.Get(), __uuidof(IDCompositionDevice),
                                  reinterpret_cast<void**>(composition.device.GetAddressOf()))) ||
        FAILED(composition.device->CreateTargetForHwnd(window_, TRUE, &composition.target))) {
        return false;
    }
    chainCanvas_ = std::make_unique<D2DCanvas>(d2dFactory_, deviceContext_);
    chainCanvas_->present = [this] {
        // A removed or reset adapter, or a composition device gone with it, is a lost device.
        const HRESULT shown = swapChain_->Present(1, 0);
        if (shown == DXGI_ERROR_DEVICE_REMOVED || shown == DXGI_ERROR_DEVICE_RESET) {
            return false;
        }
        return SUCCEEDED(composition_.objects().device->Commit());
    };
    return resizeChain();
}

bool DrawingDevice::resizeChain() {
    const SIZE size = clientSize(window_);
    DXGI_SWAP_CHAIN_DESC1 description{};
    description.Width = static_cast<UINT>(size.cx);
    description.Height = static_cast<UINT>(size.cy);
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
    Composition& composition = composition_.objects();
    ComPtr<IDXGISwapChain1> swapChain;
    ComPtr<IDXGISurface2> surface;
    ComPtr<ID2D1Bitmap1> bitmap;
    ComPtr<IDCompositionVisual> visual;
    D2D1_BITMAP_PROPERTIES1 properties =
        D2D1::BitmapProperties1(D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
                                D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    if (FAILED(dxgiFactory_->CreateSwapChainForComposition(dxgiDevice_.Get(), &description, nullptr,
                                                           &swapChain)) ||
        FAILED(swapChain->GetBuffer(0, IID_PPV_ARGS(&surface))) ||
        FAILED(deviceContext_->CreateBitmapFromDxgiSurface(surface.Get(), &properties, &bitmap)) ||
        FAILED(composition.device->CreateVisual(&visual)) || FAILED(visual->SetContent(swapChain.Get())) ||
        FAILED(composition.target->SetRoot(visual.Get()))) {
        return false;
    }
    deviceContext_->SetTarget(bitmap.Get());
    swapChain_ = swapChain;
    targetBitmap_ = bitmap;
    composition.visual = visual;
    return true;
}

bool DrawingDevice::resizeBitmap() {
    const SIZE size = clientSize(window_);
    Pixels& pixels = bitmap_.objects();
    if (pixels.canvas && pixels.width == size.cx && pixels.height == size.cy) {
        return true;
    }
    bitmap_.release();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB};
    pixels.section.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels.bits, nullptr, 0));
    if (!pixels.section) {
        return false;
    }
    pixels.width = size.cx;
    pixels.height = size.cy;
    pixels.canvas = std::make_unique<BitmapCanvas>(pixels.bits, size.cx, size.cy);
    // The body paints again, and the drawing over it.
    pixels.canvas->present = [this] { InvalidateRect(body_, nullptr, FALSE); };
    return true;
}

void DrawingDevice::paintOver(HRGN update) {
    if (!paintsOver()) {
        return;
    }
    const Pixels& pixels = bitmap_.objects();
    UniqueHandle<MemoryDcTraits> source(CreateCompatibleDC(nullptr));
    if (!source) {
        return;
    }
    ScopedSelect selected(source.get(), pixels.section.get());
    // The caret is drawn by inverting pixels: it goes while the drawing is laid over it.
    HideCaret(body_);
    {
        ScopedWindowDC target(body_);
        SelectClipRgn(target.get(), update);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(target.get(), 0, 0, pixels.width, pixels.height, source.get(), 0, 0, pixels.width,
                      pixels.height, blend);
    }
    ShowCaret(body_);
}

} // namespace Brisvane
