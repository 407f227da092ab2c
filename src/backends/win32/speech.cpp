// The speech engine through automation: "SAPI.SpVoice" by its method names,
// so no speech SDK headers are needed.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>

#include "platform/platform.h"
#include "backends/win32/observer.h"

struct platform::Voice {
  IDispatch* dispatch;
};

namespace platform {

namespace {

constexpr DWORD kInProcessOrLocalServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
constexpr LCID kSystemDefaultLocale = 0x0800;

std::wstring WideFromAnsi(const std::string& text) {
  const int length = ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()),
                        &wide[0], length);
  return wide;
}

// Calls method `name` with one argument by value. Failures are the engine's
// business: the caller goes on either way.
void CallMethod(IDispatch* dispatch, const wchar_t* name, VARIANT& argument) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};  // only read
  DISPID member = 0;
  if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, kSystemDefaultLocale, &member))) return;
  DISPPARAMS parameters = {&argument, nullptr, 1, 0};
  VARIANT result;
  ::VariantInit(&result);
  dispatch->Invoke(member, IID_NULL, kSystemDefaultLocale, DISPATCH_METHOD, &parameters, &result,
                   nullptr, nullptr);
  ::VariantClear(&result);
}

}  // namespace

void EnterSpeechThread() { ::CoInitialize(nullptr); }

void LeaveSpeechThread() { ::CoUninitialize(); }

Voice* CreateVoice() {
  CLSID voice_class;
  IDispatch* dispatch = nullptr;
  if (FAILED(::CLSIDFromProgID(L"SAPI.SpVoice", &voice_class)) ||
      FAILED(::CoCreateInstance(voice_class, nullptr, kInProcessOrLocalServer, IID_IDispatch,
                                reinterpret_cast<void**>(&dispatch))) ||
      dispatch == nullptr) {
    win32::NotePlatformCall("CreateVoice failed");
    return nullptr;
  }
  win32::NotePlatformCall("CreateVoice");
  return new Voice{dispatch};
}

void Speak(Voice* voice, const std::string& text) {
  win32::NotePlatformCall("Speak " + text);
  if (voice == nullptr) return;
  const std::wstring wide = WideFromAnsi(text);
  VARIANT argument;
  ::VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  CallMethod(voice->dispatch, L"SPEAK", argument);
  ::VariantClear(&argument);
}

void WaitUntilDone(Voice* voice) {
  win32::NotePlatformCall("WaitUntilDone");
  if (voice == nullptr) return;
  VARIANT argument;
  ::VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = -1;  // no time limit
  CallMethod(voice->dispatch, L"WAITUNTILDONE", argument);
  ::VariantClear(&argument);
}

void ReleaseVoice(Voice* voice) {
  if (voice == nullptr) return;
  voice->dispatch->Release();
  delete voice;
}

void Beep(unsigned frequency_hz, unsigned duration_ms) {
  win32::NotePlatformCall("Beep " + std::to_string(frequency_hz) + " " +
                          std::to_string(duration_ms));
  ::Beep(frequency_hz, duration_ms);
}

}  // namespace platform
