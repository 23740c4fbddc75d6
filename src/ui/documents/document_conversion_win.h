#pragma once
// The small window a run of document conversions shows: what is being
// converted, a bar, Cancel, and at the end what became of every file with a
// button that opens the folder. It is modeless, so the toolbar goes on
// working; the conversions run on a worker thread of its own, which never
// touches a window: it queues its reports and nudges the window to read them.
#include <windows.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "documents/run_model.h"
#include "platform/shell.h"
#include "platform/win32/window_base.h"
#include "ui/common/control_factory_win.h"
#include "platform/win32/handles.h"
#include "ui/documents/document_batch_model.h"

namespace lk::ui::documents {

class ConversionWindow : public platform::WindowBase {
 public:
  ConversionWindow(platform::Shell& shell, Batch batch);
  // Cancels a run still going and waits for its worker.
  ~ConversionWindow() override;

  // Shows the window over `owner` and starts the worker; false when the
  // window could not be made.
  bool Start(HWND owner, const lk::documents::ConvertSettings& settings);
  // Asks the worker to stop; the window stays to show what became of each file.
  void Cancel();
  bool Closed() const { return hwnd() == nullptr; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Place(HWND owner);
  void SetNamesFont();
  void TakeReports();
  void Show();
  void Finish();

  platform::Shell& shell_;
  Batch batch_;
  DesignFonts fonts_;
  std::string namesFace_;
  platform::UniqueFont namesFont_;
  std::atomic<bool> cancel_{false};
  std::mutex reportsLock_;
  std::deque<Report> reports_;
  std::thread worker_;
  bool finished_ = false;
};

// Every conversion window the toolbar has opened: several runs may go on at
// once, and all are cancelled and waited for when the toolbar closes.
class ConversionRuns {
 public:
  // Converts `inputs` beside themselves; `target` names the result ("Unicode"
  // or the family).
  void Start(HWND owner, platform::Shell& shell, const std::vector<std::filesystem::path>& inputs,
             const lk::documents::ConvertSettings& settings, const std::string& target);
  void CloseAll();

 private:
  std::vector<std::unique_ptr<ConversionWindow>> windows_;
};

}  // namespace lk::ui::documents
