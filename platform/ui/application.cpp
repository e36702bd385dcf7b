#include "platform/ui/application.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/ui/drag_manager.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  Destroying();
  // Owned forms and modules go newest first (TComponent), while Application still exists.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
}

void TApplication::noteCreated(TComponent* component) {
  if (!mainForm_)
    if (auto* form = dynamic_cast<TCustomForm*>(component)) mainForm_ = form;
}

void TApplication::RegisterForm(TCustomForm* form) { forms_.push_back(form); }

void TApplication::UnregisterForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
  if (activeForm_ == form) activeForm_ = nullptr;
  if (mouseControl_ && mouseControl_->GetParentForm() == form) mouseControl_ = nullptr;
}

void TApplication::ControlDestroying(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
  DragControlDestroying(control);
  RemovePostedMessages(control);
}

bool TApplication::Active() const { return activeForm_ != nullptr; }

void TApplication::Run() {
  if (!mainForm_) return;
  mainForm_->Show();
  RunLoopUntil([this] { return terminated_ || !mainForm_ || !mainForm_->IsShown(); });
}

void TApplication::ProcessMessages() {
  ToolkitProcessEvents(false);
  DoIdle();
}

void TApplication::RunLoopUntil(const std::function<bool()>& done) {
  while (!done()) {
    ToolkitProcessEvents(true);
    DoIdle();
  }
}

void TApplication::DoIdle() {
  TControl* control = FindControlAtScreen(GetCursorPos(), true);
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  try {
    if (old) old->DispatchMouseLeave();
    if (control && mouseControl_ == control) control->DispatchMouseEnter();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

namespace {
TMessageBoxHook messageBoxHook;

std::string exceptionClassName(const std::exception& e) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(typeid(e).name());
}
}  // namespace

void SetMessageBoxHook(TMessageBoxHook hook) { messageBoxHook = std::move(hook); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
  if (messageBoxHook) return messageBoxHook(text, caption, flags);
  return ToolkitMessageBox(text, caption, flags);
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(this, e);
    return;
  }
  MessageBox(e.what(), title_, MB_OK | MB_ICONERROR);
}

int RunProgram(int argc, char** argv, const std::function<void()>& body) {
  ToolkitInit(argc, argv);
  int exitCode = 0;
  Application = new TApplication();
  try {
    body();
  } catch (const std::exception& e) {
    // The start-up failure path: nothing is on screen yet, so the box is task-modal.
    std::string text = "Exception " + exceptionClassName(e) + " in module quillon.\n" + e.what();
    Application->MessageBox(text, "Application Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    exitCode = 1;
  }
  try {
    delete Application;
  } catch (...) {
    exitCode = exitCode ? exitCode : 1;
  }
  Application = nullptr;
  return exitCode;
}
