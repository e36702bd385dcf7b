#pragma once
// TApplication: the program's message loop, its forms, the idle step and the default
// exception handler. One instance, `Application`, exists between InitApplication and
// DoneApplication (RunProgram does both).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/ui/form.h"

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Starts the component-object runtime of the database layer (nothing to do here) and
  // marks the application ready.
  void Initialize() {}

  // Creates a form or data module owned by the application and stores it in `ref` before
  // loading runs, as the framework's form-creation call does. The first form created this
  // way becomes the main form.
  template <typename T>
  void CreateForm(T*& ref) {
    ref = new T(this);
    noteCreated(ref);
  }

  // Shows the main form and processes messages until it closes.
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Handles every pending message (input, timers, paints), then runs the idle step.
  void ProcessMessages();
  // Runs the event loop until `done` returns true (used by modal forms).
  void RunLoopUntil(const std::function<bool()>& done);
  // The idle step: mouse enter/leave for the topmost control under the cursor.
  void DoIdle();

  TCustomForm* MainForm() const { return mainForm_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string value) { title_ = std::move(value); }
  bool Active() const;
  // The form that has the keyboard (the last activated visible form).
  TCustomForm* ActiveForm() const { return activeForm_; }
  void SetActiveForm(TCustomForm* form) { activeForm_ = form; }
  const std::vector<TCustomForm*>& Forms() const { return forms_; }

  // Message box: flags as Windows has them (MB_OK, MB_ICONINFORMATION 0x40, ...); returns
  // the pressed button (IDOK...).
  int MessageBox(const std::string& text, const std::string& caption, int flags);
  // The default handler of exceptions that reach the message loop: shows the message in a
  // box with an error icon; the program goes on.
  void HandleException(const std::exception& e);
  std::function<void(TObject* Sender, const std::exception& e)> OnException;

  // The control the mouse is over, as the idle step last saw it.
  TControl* MouseControl() const { return mouseControl_; }

  // Internal: forms register themselves.
  void RegisterForm(TCustomForm* form);
  void UnregisterForm(TCustomForm* form);
  // Internal: a control going away is forgotten.
  void ControlDestroying(TControl* control);

 private:
  void noteCreated(TComponent* component);

  std::string title_ = "Quillon";
  bool terminated_ = false;
  TCustomForm* mainForm_ = nullptr;
  TCustomForm* activeForm_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::vector<TCustomForm*> forms_;
};

extern TApplication* Application;

// Message box flags and results (Win32 values).
enum : int {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40, MB_TASKMODAL = 0x2000
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Runs a program body with an application object: creates the toolkit and `Application`,
// runs body, frees the application (and with it every form it owns). An exception that
// escapes body shows the task-modal "Application Error" box and makes the exit code 1.
int RunProgram(int argc, char** argv, const std::function<void()>& body);

// Tests replace the message box with a function (text, caption, flags) -> button; the
// default shows a real box. Pass nullptr to restore the real box.
using TMessageBoxHook = std::function<int(const std::string&, const std::string&, int)>;
void SetMessageBoxHook(TMessageBoxHook hook);
