#include "platform/win32/url_downloader_win32.h"

#include <windows.h>
#include <objbase.h>
#include <urlmon.h>
#include <wininet.h>

#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {

namespace {

// COM for the call's duration, unless the thread has it already.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// Learns the HTTP status of the answer: URLDownloadToFileW may report success for an error page
// (Wine does for 404), which must not count as the file asked for. Lives on the caller's stack
// for the synchronous call, so it counts no references.
class StatusCallback final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  DWORD status = 0;  // 0 until an HTTP answer arrived

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback)) {
      *out = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(iid, IID_IHttpNegotiate)) {
      *out = static_cast<IHttpNegotiate*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override {
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD code, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders) override {
    status = code;
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
  }
};

}  // namespace

bool UrlDownloader::DownloadToFile(const std::u16string& address, const std::u16string& path) {
  const ComScope com;
  // A cached answer would tell of the version the server announced last time.
  ::DeleteUrlCacheEntryW(Wide(address));
  StatusCallback callback;
  const HRESULT result = ::URLDownloadToFileW(nullptr, Wide(address), Wide(path), 0, &callback);
  if (result != S_OK) {
    lastError_ = ErrorText("URLDownloadToFileW", DWORD(result));
    return false;
  }
  if (callback.status >= 400) {
    lastError_ = "URLDownloadToFileW: the server answered " + std::to_string(callback.status);
    return false;
  }
  return true;
}

}  // namespace nx7::win32
