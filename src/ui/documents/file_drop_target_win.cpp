#include "ui/documents/file_drop_target_win.h"

#include <shellapi.h>

#include <utility>

#include "ui/documents/document_picker_win.h"

namespace lk::ui::documents {
namespace {

FORMATETC FileList() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool OffersFiles(IDataObject* data) {
  FORMATETC format = FileList();
  return data && data->QueryGetData(&format) == S_OK;
}

// A drop's data, released on every path.
class Medium {
 public:
  explicit Medium(IDataObject* data) {
    FORMATETC format = FileList();
    got_ = data->GetData(&format, &medium_) == S_OK && medium_.tymed == TYMED_HGLOBAL;
  }
  ~Medium() {
    if (got_) ::ReleaseStgMedium(&medium_);
  }
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;
  HDROP drop() const { return got_ ? static_cast<HDROP>(medium_.hGlobal) : nullptr; }

 private:
  STGMEDIUM medium_{};
  bool got_ = false;
};

}  // namespace

void FileDropTarget::Register(HWND window, UINT message) {
  window_ = window;
  message_ = message;
  // OLE on top of the apartment the program entered; balanced in Revoke.
  oleStarted_ = SUCCEEDED(::OleInitialize(nullptr));
  registered_ = oleStarted_ && ::RegisterDragDrop(window, this) == S_OK;
}

void FileDropTarget::Revoke() {
  if (registered_) ::RevokeDragDrop(window_);
  registered_ = false;
  if (oleStarted_) ::OleUninitialize();
  oleStarted_ = false;
}

std::vector<std::filesystem::path> FileDropTarget::TakeDropped() { return std::exchange(dropped_, {}); }

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *out = static_cast<IDropTarget*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  offersFiles_ = OffersFiles(data);
  *effect = offersFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect = offersFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  offersFiles_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  *effect = DROPEFFECT_NONE;
  offersFiles_ = false;
  if (!data) return S_OK;
  const Medium medium(data);
  HDROP drop = medium.drop();
  if (!drop) return S_OK;
  for (auto& file : FilesOf(drop)) dropped_.push_back(std::move(file));
  if (!dropped_.empty()) {
    *effect = DROPEFFECT_COPY;
    ::PostMessageW(window_, message_, 0, 0);
  }
  return S_OK;
}

}  // namespace lk::ui::documents
