// The Recycle Bin through the shell. Two ways, each made unable to delete a
// file for good:
//
// - IFileOperation with recycling, where its progress sink refuses every item
//   the shell would delete rather than recycle (too large for the bin, no bin
//   on the drive, a share), and, should an implementation pass the sink by,
//   the warning it is asked to give before such a delete is answered Cancel
//   by a hook, as below. A refusal cancels the rest of the operation; the
//   caller hands those again.
// - SHFileOperationW with FOF_ALLOWUNDO where IFileOperation is missing or not
//   implemented: Wine 8 creates one whose every method answers E_NOTIMPL.
//   With FOF_NOCONFIRMATION alone it deletes for good, silently, what it
//   cannot recycle (Windows does the same, and so does Wine: it deletes a
//   file whose move to the XDG trash failed). FOF_WANTNUKEWARNING makes it ask
//   first instead, and a hook on this thread answers every box the shell
//   opens during the call with Cancel.

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/wide_text_win.h"

namespace platform {

namespace {

// Set once IFileOperation has been found missing or not implemented: every
// later batch goes straight to SHFileOperationW. No other failure sets it.
std::atomic<bool> g_bFileOperationMissing{false};

bool IsMissing(HRESULT result) { return result == E_NOTIMPL || result == REGDB_E_CLASSNOTREG; }

bool ShellReadsAsIs(const std::wstring& path) {
  return path.size() < MAX_PATH && IsPlainPath(path);
}

class ComApartment {
 public:
  ComApartment()
      : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT m_hr;
};

template <typename T>
struct ComRef {
  T* p = nullptr;
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p) p->Release();
  }
};

// Lets every item through that goes to the bin; one that would be deleted
// for good stops the operation before it is touched.
class RecycleOnlySink final : public IFileOperationProgressSink {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IFileOperationProgressSink) {
      *object = static_cast<IFileOperationProgressSink*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the one call that uses it.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD flags, IShellItem*) override {
    return (flags & TSF_DELETE_RECYCLE_IF_POSSIBLE) ? S_OK : E_ABORT;
  }
  HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT,
                                           IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                         IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                         IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD, IShellItem*, HRESULT, IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT,
                                        IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }
};

LRESULT CALLBACK CancelEveryBox(int code, WPARAM wParam, LPARAM lParam) {
  // Only the shell opens windows on this thread while the hook is set, and
  // only to ask or to warn: each is answered with Cancel as it comes up.
  if (code == HCBT_ACTIVATE)
    PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every box the shell opens on this thread while it lives is answered Cancel.
class CancelEveryBoxHook {
 public:
  CancelEveryBoxHook()
      : m_hook(SetWindowsHookExW(WH_CBT, CancelEveryBox, nullptr, GetCurrentThreadId())) {}
  ~CancelEveryBoxHook() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
  }
  CancelEveryBoxHook(const CancelEveryBoxHook&) = delete;
  CancelEveryBoxHook& operator=(const CancelEveryBoxHook&) = delete;
  bool IsSet() const { return m_hook != nullptr; }

 private:
  HHOOK m_hook;
};

// False when IFileOperation is missing or not implemented, before it has
// touched anything; true otherwise, whatever it did. Any other failure leaves
// the files (or the one file) where they are, for the caller to ask about.
bool RecycleWithFileOperation(const std::vector<std::wstring>& paths) {
  // Before the operation that points to it, so that it outlives it.
  RecycleOnlySink sink;
  ComRef<IFileOperation> operation;
  HRESULT result = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                    reinterpret_cast<void**>(&operation.p));
  if (FAILED(result)) return !IsMissing(result);
  // FOFX_RECYCLEONDELETE is Windows 8's; before it FOF_ALLOWUNDO alone
  // recycles. FOF_WANTNUKEWARNING asks before a delete for good, which the
  // hook answers Cancel: the second guard, should the sink not be called.
  constexpr DWORD kFlags = FOF_NO_UI | FOF_ALLOWUNDO | FOF_WANTNUKEWARNING;
  result = operation.p->SetOperationFlags(kFlags | FOFX_RECYCLEONDELETE);
  if (FAILED(result) && !IsMissing(result)) result = operation.p->SetOperationFlags(kFlags);
  if (FAILED(result)) return !IsMissing(result);
  DWORD cookie = 0;
  result = operation.p->Advise(&sink, &cookie);
  if (FAILED(result)) return !IsMissing(result);
  bool queued = false;
  for (const std::wstring& path : paths) {
    ComRef<IShellItem> item;
    // A path the shell cannot make an item of, or will not queue, stays
    // where it is.
    if (FAILED(SHCreateItemFromParsingName(path.c_str(), nullptr, IID_IShellItem,
                                           reinterpret_cast<void**>(&item.p))))
      continue;
    result = operation.p->DeleteItem(item.p, nullptr);
    if (IsMissing(result)) break;
    queued = queued || SUCCEEDED(result);
  }
  if (!IsMissing(result) && queued) {
    const CancelEveryBoxHook hook;
    // Without the hook one guard would stand alone: nothing goes.
    if (hook.IsSet()) result = operation.p->PerformOperations();
  }
  operation.p->Unadvise(cookie);
  return !IsMissing(result);
}

void RecycleWithFileOperationW(const std::vector<std::wstring>& paths) {
  const CancelEveryBoxHook hook;
  if (!hook.IsSet()) return;  // without it the shell could delete for good: nothing goes
  std::wstring list;
  for (const std::wstring& path : paths) list.append(path).push_back(L'\0');
  list.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_WANTNUKEWARNING | FOF_NOCONFIRMATION | FOF_NOERRORUI |
                     FOF_SILENT | FOF_NOCONFIRMMKDIR;
  SHFileOperationW(&operation);
}

}  // namespace

void HandToRecycleBin(const std::vector<std::string>& paths) {
  std::vector<std::wstring> plain;
  plain.reserve(paths.size());
  for (const std::string& path : paths) {
    std::wstring wide;
    if (WidenExact(path, wide) && ShellReadsAsIs(wide)) plain.push_back(std::move(wide));
  }
  if (plain.empty()) return;
  if (!g_bFileOperationMissing.load()) {
    // Only for IFileOperation: SHFileOperationW needs none, and an
    // apartment made and ended for every batch costs time under Wine.
    const ComApartment apartment;
    if (RecycleWithFileOperation(plain)) return;
    g_bFileOperationMissing.store(true);
  }
  RecycleWithFileOperationW(plain);
}

bool CanHandToRecycleBin(const std::string& path) {
  std::wstring wide;
  return WidenExact(path, wide) && ShellReadsAsIs(wide);
}

}  // namespace platform
