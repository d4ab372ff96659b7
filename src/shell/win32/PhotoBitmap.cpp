#include "shell/win32/PhotoBitmap.h"

#include "platform/SystemError.h"
#include "platform/win32/ComPtr.h"

#include <algorithm>
#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

namespace zir::win32 {

namespace {

// COM on this thread while decoding; a thread that already has it keeps its own.
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope() {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

std::string Reason(HRESULT result) {
    std::string text = platform::SystemErrorText(static_cast<unsigned long>(result));
    return text.empty() ? "位图文件无效" : text;
}

} // namespace

PhotoBitmap PhotoBitmap::Decode(std::string_view fileBytes, std::string& error) {
    error.clear();
    ComScope com;
    platform::ComPtr<IWICImagingFactory> factory;
    // The first factory: Windows 7 without its platform update has only this one.
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.OutVoid());
    platform::ComPtr<IStream> stream;
    platform::ComPtr<IWICBitmapDecoder> decoder;
    platform::ComPtr<IWICBitmapFrameDecode> frame;
    platform::ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (SUCCEEDED(result)) {
        *stream.Out() = SHCreateMemStream(reinterpret_cast<const BYTE*>(fileBytes.data()),
                                          static_cast<UINT>(fileBytes.size()));
        result = stream.Get() ? S_OK : E_OUTOFMEMORY;
    }
    // Only a bitmap file, as the reader's decoder writes: another format is no photo of it.
    if (SUCCEEDED(result))
        result = factory->CreateDecoder(GUID_ContainerFormatBmp, nullptr, decoder.Out());
    if (SUCCEEDED(result))
        result = decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand);
    if (SUCCEEDED(result))
        result = decoder->GetFrame(0, frame.Out());
    if (SUCCEEDED(result))
        result = frame->GetSize(&width, &height);
    if (SUCCEEDED(result) && (width == 0 || height == 0 || width > 8192 || height > 8192))
        result = WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    if (SUCCEEDED(result))
        result = factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(result))
        result =
            converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                  WICBitmapDitherTypeNone, nullptr, 0, WICBitmapPaletteTypeCustom);
    if (FAILED(result)) {
        error = Reason(result);
        return {};
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down, as WIC delivers the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr) {
        error = platform::SystemErrorText(GetLastError());
        return {};
    }
    const UINT stride = width * 4;
    result = converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels));
    if (FAILED(result)) {
        DeleteObject(bitmap);
        error = Reason(result);
        return {};
    }
    PhotoBitmap photo;
    photo.bitmap_.reset(bitmap, [](HBITMAP b) { DeleteObject(b); });
    photo.size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return photo;
}

void PhotoBitmap::Draw(HDC dc, const RECT& box) const {
    if (Empty())
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (memory == nullptr)
        return;
    HGDIOBJ old = SelectObject(memory, bitmap_.get());
    const int width = std::min<int>(size_.cx, box.right - box.left);
    const int height = std::min<int>(size_.cy, box.bottom - box.top);
    if (width > 0 && height > 0)
        BitBlt(dc, box.left, box.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

} // namespace zir::win32
