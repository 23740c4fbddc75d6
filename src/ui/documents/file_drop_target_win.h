#pragma once
// Files dropped on a window through OLE, as Explorer drags them. Windows
// also turns such a drag into WM_DROPFILES for a window that only called
// DragAcceptFiles; Wine does not (measured: DoDragDrop over such a window
// ends with no effect), so the toolbar takes both ways in.
#include <windows.h>

#include <ole2.h>

#include <filesystem>
#include <vector>

namespace lk::ui::documents {

class FileDropTarget final : public IDropTarget {
 public:
  FileDropTarget() = default;
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;
  ~FileDropTarget() { Revoke(); }

  // Takes drops on `window`; once files are dropped, `message` is posted to
  // it and TakeDropped gives them. The drag's source waits while we answer,
  // so nothing is asked of the person before the drop has ended.
  void Register(HWND window, UINT message);
  // Before the window goes.
  void Revoke();
  std::vector<std::filesystem::path> TakeDropped();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  // The toolbar owns this object; OLE's references end at Revoke.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

 private:
  HWND window_ = nullptr;
  UINT message_ = 0;
  bool oleStarted_ = false;
  bool registered_ = false;
  bool offersFiles_ = false;
  std::vector<std::filesystem::path> dropped_;
};

}  // namespace lk::ui::documents
