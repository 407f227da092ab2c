// A voice for the Windows tests, registered under the program's speech ProgID
// in the tests' Wine prefix. It answers the two automation methods the program
// calls and appends each call to the file named by QUORVEL_VOICE_LOG, one
// UTF-8 line "<GetTickCount64> Speak <text>" or "<...> WaitUntilDone <ms>".
// A phrase lasts QUORVEL_VOICE_MS milliseconds (0 when unset): Speak returns
// at once, as an asynchronous engine would, so only a caller that waits
// through WaitUntilDone waits for the phrase; that line is written when the
// wait ends.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>

namespace {

// {4B63E0AF-C94A-430D-8CDF-2131006FF6F4}, as tests/backends/win32/voice_log.cpp registers it.
const CLSID kRecordingVoice = {
    0x4b63e0af, 0xc94a, 0x430d, {0x8c, 0xdf, 0x21, 0x31, 0x00, 0x6f, 0xf6, 0xf4}};

constexpr DISPID kSpeak = 1;
constexpr DISPID kWaitUntilDone = 2;

LONG live_objects = 0;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const wchar_t* text, UINT length) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr,
                                          0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], bytes, nullptr,
                          nullptr);
  return utf8;
}

// Append-only access makes each line's write a single atomic append, so
// voices on several threads or in several processes never mix their lines.
void Record(const std::string& call) {
  const std::wstring path = Environment(L"QUORVEL_VOICE_LOG");
  if (path.empty()) return;
  const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = std::to_string(::GetTickCount64()) + ' ' + call + '\n';
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

ULONGLONG PhraseMilliseconds() {
  const std::wstring value = Environment(L"QUORVEL_VOICE_MS");
  return value.empty() ? 0 : std::wcstoull(value.c_str(), nullptr, 10);
}

class Voice final : public IDispatch {
 public:
  Voice() { ::InterlockedIncrement(&live_objects); }
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!::IsEqualIID(iid, IID_IUnknown) && !::IsEqualIID(iid, IID_IDispatch)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = ::InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
      ::InterlockedDecrement(&live_objects);
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  // Automation names are matched without regard to case.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    if (::lstrcmpiW(names[0], L"Speak") == 0) *ids = kSpeak;
    else if (::lstrcmpiW(names[0], L"WaitUntilDone") == 0) *ids = kWaitUntilDone;
    else {
      *ids = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (parameters == nullptr || parameters->cArgs != 1 || parameters->cNamedArgs != 0)
      return DISP_E_BADPARAMCOUNT;
    const VARIANT& argument = parameters->rgvarg[0];
    if (member == kSpeak && argument.vt == VT_BSTR) {
      Record("Speak " + Utf8(argument.bstrVal, ::SysStringLen(argument.bstrVal)));
      phrase_end_ = ::GetTickCount64() + PhraseMilliseconds();
      return Answer(result, VT_I4, 1);  // the phrase's stream number
    }
    if (member == kWaitUntilDone && argument.vt == VT_I4) {
      const ULONGLONG now = ::GetTickCount64();
      ULONGLONG wait = phrase_end_ > now ? phrase_end_ - now : 0;
      if (argument.lVal >= 0 && wait > static_cast<ULONGLONG>(argument.lVal)) wait = argument.lVal;
      ::Sleep(static_cast<DWORD>(wait));
      Record("WaitUntilDone " + std::to_string(argument.lVal));
      return Answer(result, VT_BOOL, ::GetTickCount64() >= phrase_end_ ? VARIANT_TRUE : 0);
    }
    return member == kSpeak || member == kWaitUntilDone ? DISP_E_TYPEMISMATCH
                                                        : DISP_E_MEMBERNOTFOUND;
  }

 private:
  ~Voice() = default;

  static HRESULT Answer(VARIANT* result, VARTYPE type, LONG value) {
    if (result == nullptr) return S_OK;
    ::VariantInit(result);
    result->vt = type;
    if (type == VT_BOOL) result->boolVal = static_cast<VARIANT_BOOL>(value);
    else result->lVal = value;
    return S_OK;
  }

  LONG references_ = 1;
  ULONGLONG phrase_end_ = 0;
};

class VoiceFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!::IsEqualIID(iid, IID_IUnknown) && !::IsEqualIID(iid, IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // One static factory: counting its references would free nothing.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Voice* voice = new Voice;
    const HRESULT result = voice->QueryInterface(iid, object);
    voice->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) ::InterlockedIncrement(&live_objects);
    else ::InterlockedDecrement(&live_objects);
    return S_OK;
  }
};

VoiceFactory factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid,
                                                                          REFIID iid,
                                                                          void** object) {
  if (!::IsEqualCLSID(clsid, kRecordingVoice)) {
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory.QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return live_objects == 0 ? S_OK : S_FALSE;
}
