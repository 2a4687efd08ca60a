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

} // namespace

DrawingDevice::~DrawingDevice() {
    release();
}

void DrawingDevice::release() {
    ready_ = false;
    chainCanvas_.reset();
    visual_.Reset();
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
    bitmapCanvas_.reset();
    section_.reset();
    pixels_ = {};
}

bool DrawingDevice::create(HWND window, HWND body, DrawingSystem& system) {
    if (ready_) {
        return true;
    }
    window_ = window;
    body_ = body;
    system_ = &system;
    return rebuild();
}

bool DrawingDevice::rebuild() {
    release();
    if (!system_) {
        return false;
    }
    composition_ = system_->composition();
    if (composition_ && createChain()) {
        ready_ = true;
        return true;
    }
    release();
    ready_ = createBitmap();
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
    return bitmapCanvas_.get();
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
        FAILED(composition_->create(dxgiDevice_.Get(), __uuidof(IDCompositionDevice),
                                    reinterpret_cast<void**>(compositionDevice_.GetAddressOf()))) ||
        FAILED(compositionDevice_->CreateTargetForHwnd(window_, TRUE, &compositionTarget_))) {
        return false;
    }
    chainCanvas_ = std::make_unique<D2DCanvas>(d2dFactory_, deviceContext_, false);
    chainCanvas_->present = [this](const std::vector<RectI>& changed) { return presentChain(changed); };
    return resizeChain();
}

bool DrawingDevice::presentChain(const std::vector<RectI>& changed) {
    const SIZE size = clientSize(window_);
    std::vector<RECT> parts;
    for (const RectI& r : changed) {
        RECT part{std::max(r.left, 0), std::max(r.top, 0), std::min<int>(r.right, size.cx),
                  std::min<int>(r.bottom, size.cy)};
        if (part.right > part.left && part.bottom > part.top) {
            parts.push_back(part);
        }
    }
    const bool whole = wholePresent_ || parts.empty() ||
                       (parts.size() == 1 && parts[0].left == 0 && parts[0].top == 0 &&
                        parts[0].right == size.cx && parts[0].bottom == size.cy);
    HRESULT shown;
    if (whole) {
        shown = swapChain_->Present(1, 0);
    } else {
        // Only the changed parts are composed anew.
        DXGI_PRESENT_PARAMETERS parameters{static_cast<UINT>(parts.size()), parts.data(), nullptr, nullptr};
        shown = swapChain_->Present1(1, 0, &parameters);
    }
    if (shown == DXGI_ERROR_DEVICE_REMOVED || shown == DXGI_ERROR_DEVICE_RESET) {
        return false;
    }
    wholePresent_ = wholePresent_ && FAILED(shown);
    if (commitPending_) {
        // A refused commit (a locked session, for one) is tried again with the
        // next frame; only a removed device is built anew.
        commitPending_ = FAILED(compositionDevice_->Commit());
        if (commitPending_ && d3dDevice_->GetDeviceRemovedReason() != S_OK) {
            return false;
        }
    }
    return true;
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
        FAILED(compositionDevice_->CreateVisual(&visual)) || FAILED(visual->SetContent(swapChain.Get())) ||
        FAILED(compositionTarget_->SetRoot(visual.Get()))) {
        return false;
    }
    deviceContext_->SetTarget(bitmap.Get());
    swapChain_ = swapChain;
    targetBitmap_ = bitmap;
    visual_ = visual;
    wholePresent_ = true;
    commitPending_ = true;
    return true;
}

bool DrawingDevice::createBitmap() {
    std::shared_ptr<GdiplusSession> session = system_->gdiplus();
    if (!session) {
        return false;
    }
    bitmapCanvas_ = std::make_unique<BitmapCanvas>(std::move(session));
    // The body paints the changed parts again, and the drawing with them.
    bitmapCanvas_->present = [this](const std::vector<RectI>& changed) {
        for (const RectI& r : changed) {
            const RECT part{r.left, r.top, r.right, r.bottom};
            InvalidateRect(body_, &part, FALSE);
        }
    };
    return resizeBitmap();
}

bool DrawingDevice::resizeBitmap() {
    const SIZE size = clientSize(window_);
    if (section_ && pixels_.width == size.cx && pixels_.height == size.cy) {
        return true;
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) {
        return false;
    }
    // The canvas lets go of the old pixels before they go.
    pixels_ = {bits, size.cx, size.cy};
    bitmapCanvas_->setFrame(pixels_);
    section_ = std::move(section);
    return true;
}

void DrawingDevice::blendOver(HDC dc, const RECT& area) const {
    if (!paintsOver()) {
        return;
    }
    const RECT part{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                    std::min<LONG>(area.right, pixels_.width), std::min<LONG>(area.bottom, pixels_.height)};
    if (part.right <= part.left || part.bottom <= part.top) {
        return;
    }
    UniqueMemoryDC source(CreateCompatibleDC(dc));
    if (!source) {
        return;
    }
    ScopedSelect selected(source.get(), section_.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int width = part.right - part.left, height = part.bottom - part.top;
    GdiAlphaBlend(dc, part.left, part.top, width, height, source.get(), part.left, part.top, width, height,
                  blend);
}

} // namespace Brisvane
